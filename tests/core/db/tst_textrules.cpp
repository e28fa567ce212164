#include "core/db/TextRules.h"

#include <QStringList>
#include <QtTest>

#include <sqlite3.h>

namespace {

constexpr auto sign = [](int v) { return (v > 0) - (v < 0); };

// A table row named after its two texts.
template <typename... T> void row(const char* a, const char* b, T... rest)
{
    ((QTest::addRow("%s | %s", a, b) << QString::fromUtf8(a) << QString::fromUtf8(b)) << ... << rest);
}

// One statement with text parameters bound from 1; returns every row's first column.
QStringList rows(sqlite3* db, const char* sql, const QStringList& params = {})
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        return { QString::fromUtf8(sqlite3_errmsg(db)) };
    for (int i = 0; i < params.size(); ++i) {
        const QByteArray u = params[i].toUtf8();
        sqlite3_bind_text(st, i + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    }
    QStringList out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        out << (t ? QString::fromUtf8(t, sqlite3_column_bytes(st, 0)) : QStringLiteral("<null>"));
    }
    sqlite3_finalize(st);
    return out;
}

} // namespace

class TestTextRules : public QObject {
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void invalidUtf8();
    void like_data();
    void like();
    void throughSql();
};

void TestTextRules::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");
    row("å", "Å", 0);
    row("ÄPPELKAKA med Grädde", "äppelkaka MED grädde", 0);
    row("z", "å", -1);
    row("Å", "ä", -1);
    row("ä", "Ö", -1);
    row("Ärt", "Ärtsoppa", -1);
    row("", "a", -1);
    row("", "", 0);
    row("10 minuter", "9 minuter", -1);
    // Accents weigh as the base letter; only a tie falls back to code points.
    row("é", "e", 1);
    row("éa", "eb", -1);
    row("üb", "yc", -1);
    row("ü", "v", 1);
    row("æb", "äc", -1);
    row("æ", "å", 1);
    row("øa", "öb", -1);
    row("ø", "ä", 1);
    row("Łódź", "Lodzb", -1);
    row("ΣΑΛΑΤΑ", "σαλατα", 0);
    row("Tårta 🎂", "tårta 🎂", 0);
}

void TestTextRules::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(sign(TextRules::compare(a, b)), expected);
    QCOMPARE(sign(TextRules::compare(b, a)), -expected);
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    QCOMPARE(sign(TextRules::compareUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()))),
        expected);
    QCOMPARE(sign(TextRules::compareUtf8(ub.constData(), int(ub.size()), ua.constData(), int(ua.size()))),
        -expected);
}

void TestTextRules::invalidUtf8()
{
    const QByteArray bad[] = { "\xff", "\xfe", "abc\xc3", "abc", "\xc3(", "\xe2\x82", "\xed\xa0\x80",
        "\xc0\x80", "\xf4\x90\x80\x80", "\xc3\xa5" };
    for (const QByteArray& x : bad) {
        QCOMPARE(TextRules::compareUtf8(x.constData(), int(x.size()), x.constData(), int(x.size())), 0);
        for (const QByteArray& y : bad) {
            const int xy = TextRules::compareUtf8(x.constData(), int(x.size()), y.constData(), int(y.size()));
            const int yx = TextRules::compareUtf8(y.constData(), int(y.size()), x.constData(), int(x.size()));
            QCOMPARE(sign(xy), -sign(yx));
        }
        QCOMPARE(TextRules::LikePattern(u"*A*").matches(x.constData(), int(x.size())), x.contains('a'));
    }
    // A lone lead byte must not swallow the character after it.
    std::string folded;
    TextRules::foldUtf8("\xc3\x41\x42", 3, folded);
    QCOMPARE(QByteArray::fromStdString(folded), QByteArray("\xc3\x61\x62"));
    TextRules::foldUtf8("", 0, folded);
    QVERIFY(folded.empty());
    QCOMPARE(TextRules::foldUtf8(u"ÅÄÖ \u212A"), std::string("åäö k"));
}

void TestTextRules::like_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("expected");
    row("Kåldolmar", "*DOLM*", true);
    row("Kåldolmar", "*dolk*", false);
    row("kåldolmar", "KÅL*", true);
    row("Vitkål", "kål*", false);
    row("Kåldolmar", "*MAR", true);
    row("Kåldolmar", "KÅLDOLMAR", true);
    row("Kåldolmar", "kåldolma", false);
    row("a", "", false);
    row("", "*", true);
    row("aåc", "a?c", true);
    row("ac", "a?c", false);
    row("abbc", "a?c", false);
    row("Ugn 225 grader", "*# grader", true);
    row("ab", "a#", false);
    row("0", "#", true);
    row("9", "#", true);
    row("ac", "a*c", true);
    row("mississippi", "m*iss*ppi", true);
    row("Smörgåstårta", "sm?rg*t?rta", true);
    // Sets and ranges: case and accents ignored, ranges in Swedish order.
    row("B", "[abc]", true);
    row("d", "[abc]", false);
    row("å", "[a-z]", false);
    row("ä", "[å-ö]", true);
    row("é", "[a-z]", true);
    row("q", "[A-Z]", true);
    row("z", "[a-z]", true);
    row("Z", "[a-y]", false);
    row("A", "[!abc]", false);
    row("5", "[!a-z]", true);
    // Wildcards inside a set are literal; an unclosed [ is itself.
    row("a*b", "a[*]b", true);
    row("axb", "a[*]b", false);
    row("]", "[]]", true);
    row("a[b", "a[b", true);
    row("ab", "a[b", false);
    row("äpple", "Ä*", true);
    row("Crème brûlée", "*BRÛLÉE*", true);
    row("Créme", "*crem*", false);
    row("Mormor's kaka", "*OR'S*", true);
    // Long enough for the eight-byte folding; the bytes next to A and Z must stay.
    row("@AZ[`az{ HELLO World, MIXED case 0123", "@az[`az{ hello world, mixed case 0123", true);
    row("ABCDEFGÅHIJKLMNOPÖQRSTUVWXYZ", "abcdefgåhijklmnopöqrstuvwxyz", true);
    row("\u212A", "k", true);
}

void TestTextRules::like()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, expected);
    QCOMPARE(TextRules::like(text, pattern), expected);
    const TextRules::LikePattern compiled(pattern);
    const QByteArray u = text.toUtf8();
    QCOMPARE(compiled.matches(u.constData(), int(u.size())), expected);
    // Same answer when the text lies inside a longer buffer.
    const QByteArray padded = u + "TAIL";
    QCOMPARE(compiled.matches(padded.constData(), int(u.size())), expected);
}

void TestTextRules::throughSql()
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
    QVERIFY(TextRules::registerOn(db));
    QCOMPARE(rows(db, "CREATE TABLE r(t TEXT)"), QStringList());
    const QStringList titles = { "Äppelkaka", "Zucchinisoppa", "ärtsoppa", "Ålgryta", "äpple", "Örtsås",
        "Mormors kåldolmar", "Mormor's kaka", "10 minuters bröd", "Éclair" };
    for (const QString& t : titles)
        QCOMPARE(rows(db, "INSERT INTO r(t) VALUES (?1)", { t }), QStringList());

    QCOMPARE(rows(db, "SELECT t FROM r ORDER BY t COLLATE SV"),
        QStringList({ "10 minuters bröd", "Éclair", "Mormor's kaka", "Mormors kåldolmar", "Zucchinisoppa",
            "Ålgryta", "Äppelkaka", "äpple", "ärtsoppa", "Örtsås" }));
    QCOMPARE(rows(db, "SELECT t FROM r WHERE t = ?1 COLLATE SV", { "ÅLGRYTA" }), QStringList { "Ålgryta" });
    QCOMPARE(rows(db, "SELECT t FROM r WHERE t = ?1 COLLATE SV", { "Apple" }), QStringList());

    const char* search = "SELECT t FROM r WHERE t LIKE ?1 ORDER BY t COLLATE SV";
    QCOMPARE(rows(db, search, { "*mormor's*" }), QStringList { "Mormor's kaka" });
    QCOMPARE(rows(db, search, { "Ä*" }), QStringList({ "Äppelkaka", "äpple", "ärtsoppa" }));
    QCOMPARE(rows(db, search, { "[åö]*" }), QStringList({ "Ålgryta", "Örtsås" }));
    // SQL's own % is no wildcard here.
    QCOMPARE(rows(db, search, { "%" }), QStringList());
    QCOMPARE(
        rows(db, "SELECT (NULL LIKE ?1) IS NULL AND (?1 LIKE NULL) IS NULL", { "a" }), QStringList { "1" });
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2 ESCAPE '!'", { "a*b", "A!*B" }), QStringList { "1" });
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2 ESCAPE '!'", { "axb", "A!*B" }), QStringList { "0" });
    // A noncharacter as escape stays itself and leaves U+FFFD alone (found by fuzzing).
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2 ESCAPE ?3", { "\uFFFDx", "\uFFFD*", QString(QChar(0xFFFF)) }),
        QStringList { "1" });
    // A pattern that starts with a byte order mark keeps it (found by fuzzing).
    const QString bom(QChar::ByteOrderMark);
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2", { "a", bom + "a" }), QStringList { "0" });
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2", { bom + "a", bom + "A" }), QStringList { "1" });

    // A reused statement must not keep matching the previous pattern.
    sqlite3_stmt* st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "SELECT count(*) FROM r WHERE t LIKE ?1", -1, &st, nullptr), SQLITE_OK);
    const std::pair<const char*, int> runs[] = { { "*soppa*", 2 }, { "Ä*", 3 }, { "*", 10 } };
    for (const auto& [pattern, count] : runs) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, pattern, -1, SQLITE_TRANSIENT);
        QCOMPARE(sqlite3_step(st), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(st, 0), count);
    }
    sqlite3_finalize(st);
    QCOMPARE(sqlite3_close(db), SQLITE_OK);
}

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
