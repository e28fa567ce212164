#include "core/search/SeekRules.h"

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
};

QTEST_GUILESS_MAIN(TestSeekRules)
#include "tst_seekrules.moc"
