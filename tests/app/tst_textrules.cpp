#include "app/TextRules.h"

#include <QStringList>
#include <QtTest>

#include <sqlite3.h>

#include <algorithm>

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// One statement with text parameters bound from 1; returns every row's first column.
QStringList rows(sqlite3* db, const char* sql, const QStringList& params = {})
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        qWarning("%s", sqlite3_errmsg(db));
        return { QStringLiteral("<prepare failed>") };
    }
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
    void fold_data();
    void fold();
    void like_data();
    void like();
    void throughSql();
};

void TestTextRules::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("å Å") << "å"
                         << "Å" << 0;
    QTest::newRow("whole title case") << "ÄPPELKAKA med Grädde"
                                      << "äppelkaka MED grädde" << 0;
    QTest::newRow("z < å") << "z"
                           << "å" << -1;
    QTest::newRow("å < ä") << "Å"
                           << "ä" << -1;
    QTest::newRow("ä < ö") << "ä"
                           << "Ö" << -1;
    QTest::newRow("Zucchini < Äppel") << "Zucchinisoppa"
                                      << "Äppelkaka" << -1;
    QTest::newRow("Ålgryta < Ärtsoppa") << "Ålgryta"
                                        << "Ärtsoppa" << -1;
    QTest::newRow("apostrophe first") << "Mormor's"
                                      << "Mormors kåldolmar" << -1;
    QTest::newRow("space before letters") << "Mormors kåldolmar"
                                          << "Mormorskaka" << -1;
    QTest::newRow("prefix first") << "Ärt"
                                  << "Ärtsoppa" << -1;
    QTest::newRow("empty") << ""
                           << "a" << -1;
    QTest::newRow("both empty") << ""
                                << "" << 0;
    QTest::newRow("digits before letters") << "9 sorters kakor"
                                           << "Apelsin" << -1;
    QTest::newRow("punctuation before digits") << "-"
                                               << "0" << -1;
    QTest::newRow("digits by code") << "10 minuter"
                                    << "9 minuter" << -1;
    QTest::newRow("é not e") << "é"
                             << "e" << 1;
    QTest::newRow("é sorts as e") << "éa"
                                  << "eb" << -1;
    QTest::newRow("é before f") << "é"
                                << "f" << -1;
    QTest::newRow("Crème < Crepe") << "Crème"
                                   << "Crepe" << -1;
    QTest::newRow("ü as y") << "üb"
                            << "yc" << -1;
    QTest::newRow("ü after u") << "ü"
                               << "v" << 1;
    QTest::newRow("æ as ä") << "æb"
                            << "äc" << -1;
    QTest::newRow("æ after å") << "æ"
                               << "å" << 1;
    QTest::newRow("ø as ö") << "øa"
                            << "öb" << -1;
    QTest::newRow("ø after ä") << "ø"
                               << "ä" << 1;
    QTest::newRow("Łódź as Lodz") << "Łódź"
                                  << "Lodzb" << -1;
    QTest::newRow("Łódź not Lodz") << "Łódź"
                                   << "Lodz" << 1;
    QTest::newRow("Greek case") << "ΣΑΛΑΤΑ"
                                << "σαλατα" << 0;
    QTest::newRow("emoji") << "Tårta 🎂"
                           << "tårta 🎂" << 0;
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
        std::string folded;
        TextRules::foldUtf8(x.constData(), int(x.size()), folded);
        QVERIFY(!folded.empty());
        QCOMPARE(TextRules::LikePattern(u"*A*").matches(x.constData(), int(x.size())), x.contains('a'));
    }
    // A lone lead byte must not swallow the character after it.
    std::string folded;
    TextRules::foldUtf8("\xc3"
                        "AB",
        3, folded);
    QCOMPARE(QByteArray::fromStdString(folded),
        QByteArray("\xc3"
                   "ab"));
}

void TestTextRules::fold_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("swedish") << "ÅÄÖ åäö"
                             << "åäö åäö";
    // Long enough for the eight-byte path; the bytes next to A and Z must stay.
    QTest::newRow("ascii edges") << "@AZ[`az{ HELLO World, MIXED case 0123"
                                 << "@az[`az{ hello world, mixed case 0123";
    QTest::newRow("accents") << "CRÈME BRÛLÉE"
                             << "crème brûlée";
    QTest::newRow("mixed widths") << "ABCDEFGÅHIJKLMNOPÖQRSTUVWXYZ"
                                  << "abcdefgåhijklmnopöqrstuvwxyz";
    QTest::newRow("greek") << "ΣΑΛΑΤΑ"
                           << "σαλατα";
    QTest::newRow("kelvin sign") << QString(QChar(0x212A)) << "k";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextRules::fold()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const std::string want = expected.toStdString();
    QCOMPARE(TextRules::foldUtf8(input), want);
    const QByteArray u = input.toUtf8();
    std::string out = "stale";
    TextRules::foldUtf8(u.constData(), int(u.size()), out);
    QCOMPARE(out, want);
}

void TestTextRules::like_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("expected");

    QTest::newRow("contains") << "Kåldolmar"
                              << "*DOLM*" << true;
    QTest::newRow("contains miss") << "Kåldolmar"
                                   << "*dolk*" << false;
    QTest::newRow("prefix") << "kåldolmar"
                            << "KÅL*" << true;
    QTest::newRow("prefix miss") << "Vitkål"
                                 << "kål*" << false;
    QTest::newRow("suffix") << "Kåldolmar"
                            << "*MAR" << true;
    QTest::newRow("exact") << "Kåldolmar"
                           << "KÅLDOLMAR" << true;
    QTest::newRow("exact is whole text") << "Kåldolmar"
                                         << "kåldolma" << false;
    QTest::newRow("? one") << "abc"
                           << "a?c" << true;
    QTest::newRow("? multibyte") << "aåc"
                                 << "a?c" << true;
    QTest::newRow("? not zero") << "ac"
                                << "a?c" << false;
    QTest::newRow("? not two") << "abbc"
                               << "a?c" << false;
    QTest::newRow("# digit") << "Ugn 225 grader"
                             << "*# grader" << true;
    QTest::newRow("# not letter") << "ab"
                                  << "a#" << false;
    QTest::newRow("# needs one") << ""
                                 << "#" << false;
    QTest::newRow("* alone on empty") << ""
                                      << "*" << true;
    QTest::newRow("* alone") << "vad som helst"
                             << "*" << true;
    QTest::newRow("empty pattern on empty") << ""
                                            << "" << true;
    QTest::newRow("empty pattern") << "a"
                                   << "" << false;
    QTest::newRow("* inside empty") << "ac"
                                    << "a*c" << true;
    QTest::newRow("* inside") << "aXYZc"
                              << "a*c" << true;
    QTest::newRow("* inside miss") << "ab"
                                   << "a*c" << false;
    QTest::newRow("backtrack") << "mississippi"
                               << "m*iss*ppi" << true;
    QTest::newRow("backtrack miss") << "mississippi"
                                    << "m*x*i" << false;
    QTest::newRow("backtrack last") << "aaab"
                                    << "*a*b" << true;
    QTest::newRow("general multibyte") << "Smörgåstårta"
                                       << "sm?rg*t?rta" << true;
    QTest::newRow("set") << "b"
                         << "[abc]" << true;
    QTest::newRow("set miss") << "d"
                              << "[abc]" << false;
    QTest::newRow("set case") << "B"
                              << "[abc]" << true;
    QTest::newRow("set å") << "Å"
                           << "[åäö]" << true;
    QTest::newRow("range") << "m"
                           << "[a-z]" << true;
    QTest::newRow("range excludes å") << "å"
                                      << "[a-z]" << false;
    QTest::newRow("range swedish") << "ä"
                                   << "[å-ö]" << true;
    QTest::newRow("range accent") << "é"
                                  << "[a-z]" << true;
    QTest::newRow("range digits") << "Steg 5"
                                  << "steg [0-9]" << true;
    QTest::newRow("range uppercase") << "q"
                                     << "[A-Z]" << true;
    QTest::newRow("negated") << "x"
                             << "[!abc]" << true;
    QTest::newRow("negated miss") << "A"
                                  << "[!abc]" << false;
    QTest::newRow("negated range") << "5"
                                   << "[!a-z]" << true;
    QTest::newRow("literal *") << "a*b"
                               << "a[*]b" << true;
    QTest::newRow("literal * miss") << "axb"
                                    << "a[*]b" << false;
    QTest::newRow("literal ?") << "a?b"
                               << "a[?]b" << true;
    QTest::newRow("literal ? miss") << "axb"
                                    << "a[?]b" << false;
    QTest::newRow("literal #") << "a#b"
                               << "a[#]b" << true;
    QTest::newRow("literal [") << "a[b"
                               << "a[[]b" << true;
    QTest::newRow("] first in set") << "]"
                                    << "[]]" << true;
    QTest::newRow("unclosed [") << "a[b"
                                << "a[b" << true;
    QTest::newRow("unclosed [ alone") << "["
                                      << "[" << true;
    QTest::newRow("unclosed [ after *") << "x[abc"
                                        << "*[abc" << true;
    QTest::newRow("unclosed [ miss") << "ab"
                                     << "a[b" << false;
    QTest::newRow("upper pattern") << "ångkokt"
                                   << "ÅNGKOKT" << true;
    QTest::newRow("Ä prefix") << "äpple"
                              << "Ä*" << true;
    QTest::newRow("É contains") << "Crème brûlée"
                                << "*BRÛLÉE*" << true;
    QTest::newRow("é is not e") << "Créme"
                                << "*crem*" << false;
    QTest::newRow("apostrophe") << "Mormor's kaka"
                                << "*OR'S*" << true;
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
        "Apelsinsallad", "Mormors kåldolmar", "Mormor's kaka", "10 minuters bröd", "Éclair", "Ugnspannkaka" };
    for (const QString& t : titles)
        QCOMPARE(rows(db, "INSERT INTO r(t) VALUES (?1)", { t }), QStringList());

    QStringList expected = titles;
    std::sort(expected.begin(), expected.end(),
        [](const QString& a, const QString& b) { return TextRules::compare(a, b) < 0; });
    QCOMPARE(expected,
        QStringList({ "10 minuters bröd", "Apelsinsallad", "Éclair", "Mormor's kaka", "Mormors kåldolmar",
            "Ugnspannkaka", "Zucchinisoppa", "Ålgryta", "Äppelkaka", "äpple", "ärtsoppa", "Örtsås" }));
    QCOMPARE(rows(db, "SELECT t FROM r ORDER BY t COLLATE SV"), expected);

    QCOMPARE(rows(db, "SELECT t FROM r WHERE t = ?1 COLLATE SV", { "ÄPPLE" }), QStringList { "äpple" });
    QCOMPARE(rows(db, "SELECT t FROM r WHERE t = ?1 COLLATE SV", { "Apple" }), QStringList());
    // An index in the same order must reject case-only duplicates.
    QCOMPARE(rows(db, "CREATE UNIQUE INDEX rt ON r(t COLLATE SV)"), QStringList());
    QCOMPARE(rows(db, "SELECT count(*) FROM r WHERE t > ?1 COLLATE SV", { "ZZZ" }), QStringList { "5" });
    QCOMPARE(rows(db, "INSERT INTO r(t) VALUES (?1)", { "ÅLGRYTA" }), QStringList());
    QCOMPARE(rows(db, "SELECT count(*) FROM r"), QStringList { QString::number(titles.size()) });

    const char* search = "SELECT t FROM r WHERE t LIKE ?1 ORDER BY t COLLATE SV";
    QCOMPARE(rows(db, search, { "*mormor's*" }), QStringList { "Mormor's kaka" });
    QCOMPARE(rows(db, search, { "Ä*" }), QStringList({ "Äppelkaka", "äpple", "ärtsoppa" }));
    QCOMPARE(rows(db, search, { "*SOPPA" }), QStringList({ "Zucchinisoppa", "ärtsoppa" }));
    QCOMPARE(rows(db, search, { "#*" }), QStringList { "10 minuters bröd" });
    QCOMPARE(rows(db, search, { "[åö]*" }), QStringList({ "Ålgryta", "Örtsås" }));
    QCOMPARE(rows(db, search, { "*'*" }), QStringList { "Mormor's kaka" });
    QCOMPARE(rows(db, search, { "%" }), QStringList());

    // The pattern is the function's first argument.
    QCOMPARE(rows(db, "SELECT (?1 LIKE ?2) + like(?2, ?1)", { "abc", "A*" }), QStringList { "2" });
    QCOMPARE(rows(db, "SELECT ?2 LIKE ?1", { "abc", "A*" }), QStringList { "0" });
    QCOMPARE(
        rows(db, "SELECT (NULL LIKE ?1) IS NULL AND (?1 LIKE NULL) IS NULL", { "a" }), QStringList { "1" });
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2 ESCAPE '!'", { "a*b", "A!*B" }), QStringList { "1" });
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2 ESCAPE '!'", { "axb", "A!*B" }), QStringList { "0" });
    QCOMPARE(rows(db, "SELECT ?1 LIKE ?2 ESCAPE '!'", { "axb", "A*B" }), QStringList { "1" });

    // A reused statement must not keep matching the previous pattern.
    sqlite3_stmt* st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "SELECT count(*) FROM r WHERE t LIKE ?1", -1, &st, nullptr), SQLITE_OK);
    const std::pair<const char*, int> runs[]
        = { { "*soppa*", 2 }, { "*kaka*", 3 }, { "x*", 0 }, { "*", 12 } };
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
