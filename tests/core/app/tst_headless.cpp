// The built program run from a terminal: import and export on the program
// folder's cookbook without a display, its messages and exit codes.
#include "core/db/Cookbook.h"
#include "core/formats/RecipeFiles.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestHeadless : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgram> m_program;
    QString m_exe;
    QString m_out;
    QString m_err;

    // The program as a portable install: its executable beside the cookbook.
    int run(const QStringList& arguments)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_program->folder());
        p.start(m_exe, arguments);
        if (!p.waitForFinished(300000))
            return -1;
        m_out = QString::fromUtf8(p.readAllStandardOutput());
        m_err = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }

    int recipes(const char* where = "1")
    {
        return queryValue(m_program->dbPath(), QByteArray("SELECT count(*) FROM tblRecept WHERE ") + where)
            .toInt();
    }

private slots:
    void init()
    {
        m_program = std::make_unique<TempProgram>();
        QVERIFY(m_program->installDelivered());
        m_exe = m_program->path(u"gastrid"_s);
        QVERIFY(QFile::copy(QStringLiteral(GASTRID_EXE), m_exe));
        put(m_program->path(u"in.json"_s),
            R"([{"@type":"Recipe","name":"Importerad ett","recipeIngredient":["1 ägg"]},
                {"@type":"Recipe","name":"Importerad två","recipeCategory":"Bröd"}])");
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::newRow("help") << QStringList { u"--help"_s } << 0 << u"  gastrid --export FIL.zip|FIL.rcp"_s;
        // As the package installs it: a link by another name.
        QTest::newRow("help by the installed name")
            << QStringList { u"--help"_s } << 0 << u"  krox-gastrid --export FIL.zip|FIL.rcp"_s;
        QTest::newRow("a mistake by the installed name")
            << QStringList { u"--import"_s } << 2 << u"Skriv krox-gastrid --help för att se vad som går."_s;
        QTest::newRow("import without files")
            << QStringList { u"--import"_s } << 2 << u"Ange vilka filer som ska importeras."_s;
        QTest::newRow("category without name") << QStringList { u"--import"_s, u"in.json"_s, u"--category"_s }
                                               << 2 << u"Efter --category ska ett kategorinamn stå."_s;
        QTest::newRow("export to another type") << QStringList { u"--export"_s,
            u"ut.txt"_s } << 2 << u"Recept kan bara exporteras till en .zip- eller .rcp-fil."_s;
        QTest::newRow("unknown option")
            << QStringList { u"--export"_s, u"ut.zip"_s, u"--alla"_s } << 2 << u"Okänt val: --alla"_s;
        QTest::newRow("missing file")
            << QStringList { u"--import"_s, u"saknas.json"_s } << 1 << u"\"saknas.json\""_s;
        QTest::newRow("unknown category") << QStringList { u"--export"_s, u"ut.zip"_s, u"--category"_s,
            u"Ingen"_s } << 1 << u"Det finns ingen kategori som heter \"Ingen\"."_s;
    }
    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, says);
        const int before = recipes();
        if (QString::fromUtf8(QTest::currentDataTag()).contains(u"installed name"_s)) {
            const QString link = m_program->path(u"krox-gastrid"_s);
            QVERIFY(QFile::link(m_exe, link));
            m_exe = link;
        }
        QCOMPARE(run(arguments), code);
        QVERIFY2((code == 0 ? m_out : m_err).contains(says), qPrintable(m_out + m_err));
        QCOMPARE(recipes(), before);
    }

    // The first run upgrades the delivered cookbook and makes the day's
    // backup before it stores anything.
    void importThenExport()
    {
        const int before = recipes();
        QCOMPARE(run({ u"--import"_s, u"in.json"_s }), 0);
        QCOMPARE(m_err, QString());
        QCOMPARE(m_out.split(u'\n', Qt::SkipEmptyParts).mid(0, 2),
            QStringList({ u"Importerat: Importerad ett"_s, u"Importerat: Importerad två"_s }));
        QCOMPARE(recipes(), before + 2);
        QCOMPARE(QDir(m_program->path(u"backup"_s)).entryList(QDir::Files).size(), 1);
        QCOMPARE(queryValue(m_program->dbPath(),
                     "SELECT k.Kategori FROM tblRecept r JOIN tblKategorier k ON r.Kategori = k.KID "
                     "WHERE r.Titel = 'Importerad två';")
                     .toString(),
            u"Bröd"_s);

        QCOMPARE(run({ u"--import"_s, u"in.json"_s, u"--category"_s, u"Från fil"_s }), 0);
        QCOMPARE(recipes("Titel = 'Importerad ett kopia'"), 1);
        QCOMPARE(run({ u"--export"_s, u"ut.rcp"_s, u"--category"_s, u"FRÅN FIL"_s }), 0);
        QVERIFY2(m_out.startsWith(u"2 recept exporterade till "_s), qPrintable(m_out));
        const ReadResult back = RecipeFiles::read(m_program->path(u"ut.rcp"_s));
        QCOMPARE(back.recipes.size(), 2);
        QCOMPARE(back.recipes.at(0).title, u"Importerad ett kopia"_s);

        QCOMPARE(run({ u"--export"_s, u"ut.zip"_s }), 0);
        QCOMPARE(RecipeFiles::read(m_program->path(u"ut.zip"_s)).recipes.size(), recipes());
    }

    // A file that cannot be read whole stores nothing; the others still go in.
    void damagedFileStoresNothing()
    {
        put(m_program->path(u"trasig.rcp"_s),
            "<titel>Hel</titel><kategori>1</kategori><portioner></portioner>"
            "<tid></tid><ingredienser></ingredienser><anvisningar></anvisningar>"
            "<titel>Halv</titel><kategori>1</kategori>");
        const int before = recipes();
        QCOMPARE(run({ u"--import"_s, u"trasig.rcp"_s, u"in.json"_s }), 1);
        QVERIFY2(m_err.contains(u"trasig.rcp"_s) && m_err.contains(u"recept 2"_s), qPrintable(m_err));
        QCOMPARE(recipes(), before + 2);
        QCOMPARE(recipes("Titel = 'Hel'"), 0);
    }

    void refusedWhileTheProgramRuns()
    {
        Database held;
        QVERIFY(m_program->makeCookbook({}));
        QVERIFY(held.open(m_program->dbPath(), Cookbook::DatabaseKey));
        QCOMPARE(run({ u"--import"_s, u"in.json"_s }), 1);
        QVERIFY2(m_err.contains(u"används redan"_s), qPrintable(m_err));
        held.close();
        QCOMPARE(recipes(), 0);
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
