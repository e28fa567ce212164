// The database wrapper itself: values in and out, refusals, and failures as values.
#include "core/db/Database.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestDatabase : public QObject {
    Q_OBJECT
    Database m_db;

private slots:
    void initTestCase()
    {
        QVERIFY(m_db.openPlain(u":memory:"_s));
        QVERIFY(m_db.exec("CREATE TABLE t (v);"));
    }
    void init() { QVERIFY(m_db.exec("DELETE FROM t;")); }

    // What is bound comes back with the same type and value.
    void roundTrip_data()
    {
        QTest::addColumn<QVariant>("in");
        QTest::addColumn<QString>("storedType");
        QTest::addColumn<QVariant>("out");
        QTest::newRow("null") << QVariant() << u"null"_s << QVariant();
        QTest::newRow("empty text is not null") << QVariant(u""_s) << u"text"_s << QVariant(u""_s);
        QTest::newRow("apostrophes and å")
            << QVariant(u"Kock's 'kalas' å"_s) << u"text"_s << QVariant(u"Kock's 'kalas' å"_s);
        QTest::newRow("32-bit edge") << QVariant(qint32(2147483647)) << u"integer"_s
                                     << QVariant::fromValue<qint64>(2147483647);
        QTest::newRow("negative") << QVariant(-32768) << u"integer"_s << QVariant::fromValue<qint64>(-32768);
        QTest::newRow("64-bit") << QVariant::fromValue<qint64>(1LL << 40) << u"integer"_s
                                << QVariant::fromValue<qint64>(1LL << 40);
        QTest::newRow("true") << QVariant(true) << u"integer"_s << QVariant::fromValue<qint64>(1);
        QTest::newRow("false") << QVariant(false) << u"integer"_s << QVariant::fromValue<qint64>(0);
        QTest::newRow("double") << QVariant(2.5) << u"real"_s << QVariant(2.5);
        // QString::fromUtf8 alone would drop it.
        QTest::newRow("leading byte order mark")
            << QVariant(u"\uFEFFÄrtsoppa"_s) << u"text"_s << QVariant(u"\uFEFFÄrtsoppa"_s);
        QTest::newRow("text digits stay text") << QVariant(u"007"_s) << u"text"_s << QVariant(u"007"_s);
        QTest::newRow("blob") << QVariant(QByteArray("\0\x01\xff", 3)) << u"blob"_s
                              << QVariant(QByteArray("\0\x01\xff", 3));
    }
    void roundTrip()
    {
        QFETCH(QVariant, in);
        QFETCH(QString, storedType);
        QFETCH(QVariant, out);
        QVERIFY(m_db.execute("INSERT INTO t (v) VALUES (?1);", { in }));
        QCOMPARE(m_db.scalar("SELECT typeof(v) FROM t;")->toString(), storedType);
        const auto v = m_db.scalar("SELECT v FROM t;");
        QVERIFY(v.ok());
        QCOMPARE(v->isNull(), out.isNull());
        QCOMPARE(*v, out);
    }

    // Each refusal comes back as an error with the engine's code, and nothing runs.
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<int>("code");
        QTest::newRow("second statement")
            << QByteArray("INSERT INTO t VALUES (1); DELETE FROM t;") << QVariantList() << DbCode::Misuse;
        QTest::newRow("second statement after a comment")
            << QByteArray("INSERT INTO t VALUES (1); -- note\nDROP TABLE t;") << QVariantList()
            << DbCode::Misuse;
        QTest::newRow("bind beyond the parameters")
            << QByteArray("INSERT INTO t VALUES (?1);") << QVariantList { 1, 2 } << DbCode::Range;
        QTest::newRow("syntax") << QByteArray("INSERT INTO t VALUES (;") << QVariantList() << DbCode::Error;
        QTest::newRow("no such table")
            << QByteArray("INSERT INTO nix VALUES (1);") << QVariantList() << DbCode::Error;
        QTest::newRow("only a comment") << QByteArray("-- nothing") << QVariantList() << DbCode::Misuse;
    }
    void refusals()
    {
        QFETCH(QByteArray, sql);
        QFETCH(QVariantList, values);
        QFETCH(int, code);
        const DbStatus s = m_db.execute(sql.constData(), values);
        QVERIFY(!s);
        QCOMPARE(s.error().code, code);
        QVERIFY(!s.error().text.isEmpty());
        QVERIFY(s.error().describe().endsWith(u' ' + QString::number(code)));
        QCOMPARE(m_db.scalar("SELECT count(*) FROM t;")->toInt(), 0);
        QVERIFY(m_db.hasTable(u"T"_s).value());
    }

    // A gate that says no stops every statement that would change the file,
    // in scripts too, and asks nothing for reads.
    void writeGate_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<bool>("script");
        QTest::addColumn<bool>("refused");
        QTest::newRow("insert") << QByteArray("INSERT INTO t VALUES (1);") << false << true;
        QTest::newRow("write after a read in a script")
            << QByteArray("SELECT 1; INSERT INTO t VALUES (1);") << true << true;
        QTest::newRow("header write") << QByteArray("PRAGMA user_version=3;") << true << true;
        QTest::newRow("read") << QByteArray("SELECT count(*) FROM t;") << false << false;
        QTest::newRow("transaction control") << QByteArray("BEGIN; COMMIT;") << true << false;
    }
    void writeGate()
    {
        QFETCH(QByteArray, sql);
        QFETCH(bool, script);
        QFETCH(bool, refused);
        int asked = 0;
        m_db.setWriteGate([&] {
            ++asked;
            return DbStatus(DbError { u"nej"_s, DbCode::ReadOnly });
        });
        const DbStatus s = script ? m_db.exec(sql.constData()) : m_db.execute(sql.constData());
        m_db.setWriteGate({});
        QCOMPARE(asked, refused ? 1 : 0);
        QCOMPARE(s.ok(), !refused);
        if (refused)
            QCOMPARE(s.error().describe(), u"nej 8"_s);
        QCOMPARE(m_db.scalar("SELECT count(*) FROM t;")->toInt(), 0);
        QCOMPARE(m_db.scalar("PRAGMA user_version;")->toInt(), 0);
    }

    void trailingSpaceAndCommentAreOneStatement()
    {
        QVERIFY(m_db.execute("INSERT INTO t VALUES (1);  -- one row\n  "));
        QCOMPARE(m_db.scalar("SELECT count(*) FROM t;")->toInt(), 1);
    }

    void constraintFailsAtStepAndRollsBack()
    {
        QVERIFY(m_db.exec("CREATE TEMP TABLE u (k INTEGER PRIMARY KEY);"));
        QVERIFY(m_db.begin());
        QVERIFY(m_db.execute("INSERT INTO u VALUES (?1);", { 1 }));
        const DbStatus dup = m_db.execute("INSERT INTO u VALUES (?1);", { 1 });
        QCOMPARE(dup.error().code, DbCode::Constraint);
        QVERIFY(m_db.inTransaction());
        m_db.rollback();
        QVERIFY(!m_db.inTransaction());
        QCOMPARE(m_db.scalar("SELECT count(*) FROM u;")->toInt(), 0);
    }

    void closedConnectionFails()
    {
        Database closed;
        QCOMPARE(closed.exec("SELECT 1;").error().code, DbCode::Misuse);
        QCOMPARE(closed.scalar("SELECT 1;").error().code, DbCode::Misuse);
        QCOMPARE(closed.open(QDir::temp().filePath(u"gastrid-missing.mdb"_s), u"x"_s).error().code,
            DbCode::CantOpen);
        QVERIFY(!closed.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
