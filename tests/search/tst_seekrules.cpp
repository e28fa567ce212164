#include "search/SeekRules.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestSeekRules : public QObject {
    Q_OBJECT

    template <class Rule>
    static void checkBothForms(const QStringList& entries, const QString& text, bool hit)
    {
        const Rule rule(entries);
        QCOMPARE(rule.matches(text), hit);
        const QByteArray utf8 = text.toUtf8();
        QCOMPARE(rule.matches(utf8.constData(), int(utf8.size())), hit);
    }

private slots:
    void anyIngredient_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hit");
        QTest::newRow("plain") << QStringList { u"mjöl"_s } << u"2 dl mjöl\r\n1 ägg"_s << true;
        QTest::newRow("upper Ä in text") << QStringList { u"ägg"_s } << u"1 ÄGG"_s << true;
        QTest::newRow("upper Å in entry") << QStringList { u"ÅKERBÄR"_s } << u"1 dl åkerbär"_s << true;
        QTest::newRow("inside a word") << QStringList { u"mjöl"_s } << u"Vetemjöl"_s << true;
        QTest::newRow("second entry") << QStringList { u"peppar"_s, u"salt"_s } << u"mjöl\nsalt"_s << true;
        QTest::newRow("longer entry kept apart")
            << QStringList { u"vetemjöl"_s, u"mjöl"_s } << u"rågmjöl"_s << true;
        QTest::newRow("none") << QStringList { u"mjöl"_s, u"salt"_s } << u"2 ägg\r\nsocker"_s << false;
        QTest::newRow("no entries") << QStringList() << u"mjöl"_s << false;
        QTest::newRow("empty text") << QStringList { u""_s } << u""_s << false;
        QTest::newRow("null text") << QStringList { u"mjöl"_s } << QString() << false;
        QTest::newRow("empty entry") << QStringList { u"mjöl"_s, u""_s } << u"ägg"_s << true;
        QTest::newRow("empty entry, blank text") << QStringList { u""_s } << u" "_s << true;
        QTest::newRow("entry not trimmed") << QStringList { u" mjöl"_s } << u"Vetemjöl"_s << false;
        QTest::newRow("ä is not a") << QStringList { u"sås"_s } << u"sas"_s << false;
    }
    void anyIngredient()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(bool, hit);
        checkBothForms<SeekRules::AnyIngredient>(entries, text, hit);
    }

    void cookable_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hit");
        const QStringList flourSalt { u"mjöl"_s, u"salt"_s };
        QTest::newRow("headings, number, sauce")
            << flourSalt << u"Deg:\r\n2 dl mjöl\r\nca 1 tsk salt\r\n4\r\nSås:"_s << true;
        QTest::newRow("line not covered") << flourSalt << u"2 dl mjöl\r\n1 dl grädde"_s << false;
        QTest::newRow("c:a is no heading") << flourSalt << u"2 dl mjöl\r\nc:a 1 dl grädde"_s << false;
        QTest::newRow("C:A upper") << flourSalt << u"2 dl mjöl\r\nC:A 1 dl grädde"_s << false;
        QTest::newRow("c:a with entry")
            << QStringList { u"mjöl"_s, u"grädde"_s } << u"mjöl\r\nc:a 1 dl grädde"_s << true;
        QTest::newRow("heading") << QStringList() << u"Till servering:"_s << true;
        QTest::newRow("oven") << flourSalt << u"mjöl\r\nSätt UGNEN på 200 grader"_s << true;
        QTest::newRow("garnish, sauce, thickening")
            << QStringList() << u"Garnering\r\nSÅS\r\nredning av mjöl"_s << true;
        QTest::newRow("upper Ä text") << QStringList { u"ägg"_s } << u"2 ÄGGULOR"_s << true;
        QTest::newRow("inside a word") << flourSalt << u"5 dl Vetemjöl"_s << true;
        QTest::newRow("LF only") << flourSalt << u"2 dl mjöl\n1 tsk salt\n"_s << true;
        QTest::newRow("LF only, missing") << flourSalt << u"2 dl mjöl\n1 ägg\n"_s << false;
        QTest::newRow("lone CR splits nothing") << flourSalt << u"1 ägg\rmjöl"_s << true;
        QTest::newRow("no line spans a break") << flourSalt << u"2 dl mj\r\nöl"_s << false;
        QTest::newRow("blank lines skipped") << flourSalt << u"\r\n  \r\n\t\r\nmjöl\r\n\u00a0\r\n"_s << true;
        QTest::newRow("only blank lines") << QStringList() << u" \r\n\t\r\n"_s << true;
        QTest::newRow("comma decimal with blanks")
            << QStringList() << u"\u00a01,\u00a05\t\r\n-2\r\n0.5"_s << true;
        QTest::newRow("number with unit") << QStringList() << u"1,5 dl"_s << false;
        QTest::newRow("empty text") << QStringList { u""_s } << u""_s << false;
        QTest::newRow("null text") << QStringList { u""_s } << QString() << false;
        QTest::newRow("empty entry") << QStringList { u""_s } << u"vad som helst\r\n2 dl x"_s << true;
        QTest::newRow("no entries") << QStringList() << u"2 dl mjöl"_s << false;
        QTest::newRow("entry not trimmed") << QStringList { u"salt "_s } << u"1 tsk salt"_s << false;
    }
    void cookable()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(bool, hit);
        checkBothForms<SeekRules::Cookable>(entries, text, hit);
    }

    // The buffer kept between rows must not leak one row into the next.
    void rowsDoNotLeak()
    {
        const SeekRules::AnyIngredient any({ u"salt"_s });
        const SeekRules::Cookable cookable({ u"mjöl"_s });
        QVERIFY(any.matches(u"1 tsk salt\r\n"_s.repeated(50)));
        QVERIFY(cookable.matches(u"2 dl mjöl\r\n"_s.repeated(50)));
        QVERIFY(!any.matches(u"sal"_s));
        QVERIFY(!cookable.matches(u"socker"_s));
        QVERIFY(!any.matches(nullptr, 0));
        QVERIFY(!cookable.matches(nullptr, 0));
    }

    void isNumberLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("number");
        for (const char* yes : { "4", "-2", "+3", "1,5", "0.5", "10000", "-0,25" })
            QTest::newRow(yes) << QString::fromLatin1(yes) << true;
        for (const char* no : { "", "-", "1,", ",5", "1,5,5", "1.5.5", "1/2", "4st", "1-2", "--2", "1e3" })
            QTest::newRow(*no ? no : "empty") << QString::fromLatin1(no) << false;
        QTest::newRow("half sign") << u"½"_s << false;
        QTest::newRow("Arabic-Indic digit") << u"\u0663"_s << false;
    }
    void isNumberLine()
    {
        QFETCH(QString, line);
        QFETCH(bool, number);
        QCOMPARE(SeekRules::isNumberLine(line), number);
    }
};

QTEST_GUILESS_MAIN(TestSeekRules)
#include "tst_seekrules.moc"
