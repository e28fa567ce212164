#include "core/search/SeekRules.h"

#include <QRegularExpression>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestSeekRules : public QObject {
    Q_OBJECT

    template <class Rule> static void checkBothForms()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(bool, hit);
        const Rule rule(entries);
        // The buffer kept between rows must not leak this one into the next.
        rule.matches(entries.join(u'\n') + u"\nokänd rad"_s.repeated(20));
        QCOMPARE(rule.matches(text), hit);
        const QByteArray utf8 = text.toUtf8();
        QCOMPARE(rule.matches(utf8.constData(), int(utf8.size())), hit);
    }

    static void columns()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hit");
    }

private slots:
    void anyIngredient_data()
    {
        columns();
        QTest::newRow("upper Ä in text") << QStringList { u"ägg"_s } << u"1 ÄGG"_s << true;
        QTest::newRow("upper Å in entry") << QStringList { u"ÅKERBÄR"_s } << u"1 dl åkerbär"_s << true;
        QTest::newRow("inside a word") << QStringList { u"mjöl"_s } << u"Vetemjöl"_s << true;
        QTest::newRow("not only the shortest entry")
            << QStringList { u"salt"_s, u"peppar"_s } << u"mjöl\r\nsvartpeppar"_s << true;
        QTest::newRow("longer entry kept apart")
            << QStringList { u"vetemjöl"_s, u"mjöl"_s } << u"rågmjöl"_s << true;
        QTest::newRow("none") << QStringList { u"mjöl"_s, u"salt"_s } << u"2 ägg\r\nsocker"_s << false;
        QTest::newRow("no entries") << QStringList() << u"mjöl"_s << false;
        QTest::newRow("empty text") << QStringList { u""_s } << u""_s << false;
        QTest::newRow("null text") << QStringList { u"mjöl"_s } << QString() << false;
        QTest::newRow("empty entry") << QStringList { u"mjöl"_s, u""_s } << u"ägg"_s << true;
        QTest::newRow("empty entry, blank text") << QStringList { u""_s } << u" "_s << true;
        QTest::newRow("entry not trimmed") << QStringList { u" mjöl"_s } << u"Vetemjöl"_s << false;
        QTest::newRow("å is not a") << QStringList { u"sås"_s } << u"sas"_s << false;
    }
    void anyIngredient() { checkBothForms<SeekRules::AnyIngredient>(); }

    void cookable_data()
    {
        columns();
        const QStringList flourSalt { u"mjöl"_s, u"salt"_s };
        QTest::newRow("headings, number, sauce")
            << flourSalt << u"Deg:\r\n2 dl mjöl\r\nca 1 tsk salt\r\n4\r\nSås:"_s << true;
        QTest::newRow("line not covered") << flourSalt << u"2 dl mjöl\r\n1 dl grädde"_s << false;
        QTest::newRow("C:A is no heading") << flourSalt << u"2 dl mjöl\r\nC:A 1 dl grädde"_s << false;
        QTest::newRow("c:a with entry")
            << QStringList { u"mjöl"_s, u"grädde"_s } << u"mjöl\r\nc:a 1 dl grädde"_s << true;
        QTest::newRow("oven, garnish, sauce, thickening")
            << QStringList() << u"Sätt UGNEN på 200 grader\r\nGarnering\r\nSÅS\r\nredning av mjöl"_s << true;
        QTest::newRow("case both ways, inside a word")
            << QStringList { u"ÄGG"_s, u"mjöl"_s } << u"2 äggulor\r\n5 dl VETEMJÖL"_s << true;
        QTest::newRow("LF only") << flourSalt << u"2 dl mjöl\n1 tsk salt\n"_s << true;
        QTest::newRow("LF only, missing") << flourSalt << u"2 dl mjöl\n1 ägg\n"_s << false;
        QTest::newRow("lone CR splits nothing") << flourSalt << u"1 ägg\rmjöl"_s << true;
        QTest::newRow("no line spans a break") << flourSalt << u"2 dl mj\r\nöl"_s << false;
        QTest::newRow("blank lines skipped") << flourSalt << u"\r\n  \r\n\t\r\nmjöl\r\n\u00a0\r\n"_s << true;
        QTest::newRow("only blank lines") << QStringList() << u" \r\n\t\r\n"_s << true;
        QTest::newRow("numbers with blanks") << QStringList() << u"\u00a01,\u00a05\t\r\n-2\r\n0.5"_s << true;
        // A line that is only a number never keeps a recipe out.
        for (const char* yes : { "4", "-2", "+3", "1,5", "0.5", "10000", "-0,25" })
            QTest::newRow(yes) << QStringList() << QString::fromLatin1(yes) << true;
        for (const char* no : { "-", "1,", ",5", "1,5,5", "1.5.5", "1/2", "4st", "1-2", "--2", "1e3" })
            QTest::newRow(no) << QStringList() << QString::fromLatin1(no) << false;
        QTest::newRow("half sign") << QStringList() << u"½"_s << false;
        QTest::newRow("Arabic-Indic digit") << QStringList() << u"\u0663"_s << false;
        QTest::newRow("empty text") << QStringList { u""_s } << u""_s << false;
        QTest::newRow("null text") << QStringList { u""_s } << QString() << false;
        QTest::newRow("empty entry") << QStringList { u""_s } << u"vad som helst\r\n2 dl x"_s << true;
        QTest::newRow("entry not trimmed") << QStringList { u"salt "_s } << u"1 tsk salt"_s << false;
    }
    void cookable() { checkBothForms<SeekRules::Cookable>(); }

    void missingOne_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("missing"); // null: not one purchase away
        const QStringList flourSalt { u"mjöl"_s, u"salt"_s };
        QTest::newRow("one line short")
            << flourSalt << u"Deg:\r\n2 dl mjöl\r\nca 1 tsk salt\r\n4\r\nSås:\r\n1 dl grädde"_s
            << u"1 dl grädde"_s;
        QTest::newRow("cookable already") << flourSalt << u"2 dl mjöl\r\n1 tsk salt"_s << QString();
        QTest::newRow("two short") << flourSalt << u"2 dl mjöl\r\n1 ägg\r\n1 dl grädde"_s << QString();
        QTest::newRow("a shorter line covers both") << QStringList() << u"2 ägg\r\nägg"_s << u"ägg"_s;
        QTest::newRow("the same line twice") << flourSalt << u"1 ägg\r\nsalt\r\n1 ägg"_s << u"1 ägg"_s;
        QTest::newRow("covered for a while") << QStringList() << u"ägg\r\n2 ägg\r\nmjölk"_s << QString();
        QTest::newRow("a heading inside the line")
            << QStringList() << u"Deg:\r\nc:a 1 dl deg:"_s << u"Deg:"_s;
        QTest::newRow("a number is no ingredient") << QStringList() << u"4\r\n4 ägg"_s << u"4 ägg"_s;
        QTest::newRow("a blank line is none") << QStringList() << u" \r\n1 ägg"_s << u"1 ägg"_s;
        QTest::newRow("oven line never") << QStringList() << u"Sätt ugnen på 200\r\n1 ägg"_s << u"1 ägg"_s;
        QTest::newRow("as written") << QStringList { u"MJÖL"_s } << u"2 dl Mjöl\r\n1 dl GRÄDDE"_s
                                    << u"1 dl GRÄDDE"_s;
        QTest::newRow("LF only") << flourSalt << u"mjöl\n2 ägg\n"_s << u"2 ägg"_s;
        QTest::newRow("lone CR") << QStringList() << u"1 ägg\rmjöl"_s << u"1 ägg\rmjöl"_s;
        QTest::newRow("one CR dropped") << QStringList() << u"1 ägg\r\r\n"_s << u"1 ägg\r"_s;
        QTest::newRow("only blank lines") << QStringList() << u" \r\n\t"_s << QString();
        QTest::newRow("empty text") << QStringList() << u""_s << QString();
        QTest::newRow("empty entry") << QStringList { u""_s } << u"1 ägg"_s << QString();
        QTest::newRow("last of many")
            << QStringList { u"mjöl"_s, u"mjölk"_s, u"ägg"_s, u"smör"_s }
            << u"Pannkakor:\r\n3 dl vetemjöl\r\n6 dl mjölk\r\n3 ägg\r\n2 msk smör\r\n1 krm salt"_s
            << u"1 krm salt"_s;
    }
    // Against the row-by-row rule: the missing line is the first line which,
    // added to the entries, turns a rejected recipe into an accepted one.
    void missingOne()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(QString, missing);
        const SeekRules::MissingOne rule(entries);
        const int number = rule.missingLine(text);
        const QString line = SeekRules::MissingOne::lineAt(text, number);
        QCOMPARE(line.isNull(), missing.isNull());
        QCOMPARE(line, missing);
        const QByteArray utf8 = text.toUtf8();
        QCOMPARE(rule.missingLine(utf8.constData(), int(utf8.size())), number);

        QString first;
        if (!SeekRules::Cookable(entries).matches(text)) {
            static const QRegularExpression notCounted(u"^([+-]?[0-9]+([.,][0-9]+)?)?$"_s);
            for (int i = 0; first.isNull() && !SeekRules::MissingOne::lineAt(text, i).isNull(); ++i) {
                const QString l = SeekRules::MissingOne::lineAt(text, i);
                if (!notCounted.match(l.simplified().remove(u' ')).hasMatch()
                    && SeekRules::Cookable(entries + QStringList { l }).matches(text))
                    first = l;
            }
        }
        QCOMPARE(line, first);
    }
};

QTEST_GUILESS_MAIN(TestSeekRules)
#include "tst_seekrules.moc"
