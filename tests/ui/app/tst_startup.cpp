// Start-up, the schema upgrade, settings and the exit routine, on real files.
#include "core/db/Backup.h"
#include "core/db/Cookbook.h"
#include "core/db/Database.h"
#include "core/db/Restore.h"
#include "core/settings/Settings.h"
#include "support/TestSupport.h"
#include "ui/app/FrmUppgradering.h"
#include "ui/app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <iostream>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void engineIsSqlcipher();
    void firstStartUpgradesDeliveredCookbook();
    void secondStartWritesNothing();
    void upgradeKeepsTheFile_data();
    void upgradeKeepsTheFile();
    void optionsWithoutMenuTableIsNotUpgraded();
    void readOnlyFileOpensReadWrite();
    void defaultPageSizeFileOpens();
    void missingDatabase();
    void secondRunningCopyIsRefused();
    void damagedFilesAreLeftAlone_data();
    void damagedFilesAreLeftAlone();
    void restoreTakesTheJournalAside();
    void largeUpgradeTicks();
    void upgradeElsewhere_data();
    void upgradeElsewhere();
    void upgradeRefusesACopyThatDiffers_data();
    void upgradeRefusesACopyThatDiffers();
    void storedSettings_data();
    void storedSettings();
    void programTitle_data();
    void programTitle();
    void exitStoresClientSize();
    void storedSizeIsApplied();
};

void TestStartup::engineIsSqlcipher()
{
    Database db;
    QVERIFY(db.openPlain(QStringLiteral(":memory:")));
    const auto v = db.scalar("PRAGMA cipher_version;");
    QVERIFY(v.ok());
    QVERIFY(!v->toString().isEmpty());
    // No system SQLite may be loaded beside the static SQLCipher.
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("libsqlite3"));
}

void TestStartup::firstStartUpgradesDeliveredCookbook()
{
    TempProgram t;
    QVERIFY(t.installDelivered());
    QVERIFY(fileBytes(t.dbPath()).startsWith("SQLite format 3"));
    const int recipes = [&] {
        Database db;
        return db.openPlain(t.dbPath()) ? db.scalar("SELECT count(*) FROM tblRecept;")->toInt() : -1;
    }();
    QVERIFY(recipes >= 20);

    auto p = t.start();
    QVERIFY2(p->ok, qPrintable(t.prompts.shown().value(0).text));
    QCOMPARE(t.prompts.shown().size(), 0);
    QVERIFY(QFileInfo(t.path(QStringLiteral("bilder"))).isDir());
    QCOMPARE(p->window->windowTitle(), QStringLiteral("KROX Gastrid 2.1"));
    {
        Database& db = p->ctx->db();
        auto st = db.prepare("SELECT name, value FROM options ORDER BY uid;");
        QStringList rows;
        while (st->next())
            rows << st->text(0) + QLatin1Char('=') + st->text(1);
        QCOMPARE(rows,
            QStringList(
                { "windowsize=792,566", "upgrade=1", "rgb_windows=239,232,225", "rgb_buttons=230,219,207" }));
        QVERIFY(db.hasTable(QStringLiteral("matsedel")).value());
        QCOMPARE(db.scalar("SELECT count(*) FROM tblRecept;")->toInt(), recipes);
    }
    p->window->ExitProgram();

    QVERIFY(!fileBytes(t.dbPath()).startsWith("SQLite format 3"));
    QVERIFY(!QFileInfo::exists(t.dbPath() + QStringLiteral(".upgrade")));
    QString out;
    QCOMPARE(runSqlcipher(t.dbPath(),
                 QStringLiteral(
                     "PRAGMA key='plumb';\nPRAGMA cipher_page_size=4096;\nSELECT count(*) FROM tblRecept;\n"),
                 &out),
        0);
    QCOMPARE(out.trimmed(), QString::number(recipes));
    runSqlcipher(t.dbPath(), QStringLiteral("SELECT count(*) FROM tblRecept;\n"), &out);
    QVERIFY2(out.contains(QStringLiteral("not a database")), qPrintable(out));
    // New recipes continue after the highest number the file had.
    QCOMPARE(queryValue(t.dbPath(), "SELECT seq FROM sqlite_sequence WHERE name='tblRecept';").toInt(),
        queryValue(t.dbPath(), "SELECT max(RID) FROM tblRecept;").toInt());
}

void TestStartup::secondStartWritesNothing()
{
    TempProgram t;
    QVERIFY(t.installDelivered());
    t.start()->window->ExitProgram();
    const QByteArray before = fileBytes(t.dbPath());
    auto p = t.start();
    QVERIFY(p->ok);
    QCOMPARE(fileBytes(t.dbPath()), before);
    QCOMPARE(p->ctx->db().scalar("SELECT count(*) FROM options;")->toInt(), 4);
}

void TestStartup::upgradeKeepsTheFile_data()
{
    QTest::addColumn<QString>("schema");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("owner");
    QTest::newRow("numbered tables, private") << QString::fromLatin1(RecipeSchema) << 0600 << 0;
    // No AUTOINCREMENT: the file has no engine table of its own before the upgrade.
    QTest::newRow("plain tables, group-readable, other owner")
        << QStringLiteral("CREATE TABLE tblKategorier (KID INTEGER PRIMARY KEY, Kategori TEXT);"
                          "CREATE TABLE tblRecept (RID INTEGER PRIMARY KEY, Titel TEXT, Kategori INTEGER, "
                          "AntalPersoner TEXT, Tid TEXT, Ingredienser TEXT, Anvisningar TEXT);")
        << 0640 << 1234;
}

// The upgraded cookbook replaces the old file with the same mode and owner.
void TestStartup::upgradeKeepsTheFile()
{
    QFETCH(QString, schema);
    QFETCH(int, mode);
    QFETCH(int, owner);
    TempProgram t;
    {
        Database db;
        QVERIFY(db.openPlain(t.dbPath()));
        QVERIFY(db.exec(schema.toUtf8().constData()));
        QVERIFY(db.exec("INSERT INTO tblKategorier (Kategori) VALUES ('Soppor');"
                        "INSERT INTO tblRecept (Titel, Kategori) VALUES ('Ärtsoppa', 1);"));
    }
    const QByteArray path = QFile::encodeName(t.dbPath());
    QCOMPARE(::chmod(path.constData(), mode_t(mode)), 0);
    const bool root = ::geteuid() == 0;
    if (owner && root)
        QCOMPARE(::chown(path.constData(), uid_t(owner), gid_t(owner)), 0);
    auto p = t.start(false);
    QVERIFY2(p->ok, qPrintable(t.prompts.shown().value(0).text));
    QCOMPARE(p->ctx->db().scalar("SELECT Titel FROM tblRecept;")->toString(), QStringLiteral("Ärtsoppa"));
    p->window->ExitProgram();
    QVERIFY(!fileBytes(t.dbPath()).startsWith("SQLite format 3"));
    struct stat st { };
    QCOMPARE(::stat(path.constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), mode);
    QCOMPARE(int(st.st_uid), owner && root ? owner : int(::geteuid()));
}

void TestStartup::optionsWithoutMenuTableIsNotUpgraded()
{
    TempProgram t;
    QVERIFY(t.makeCookbook(
        QStringLiteral("CREATE TABLE options (uid INTEGER PRIMARY KEY, name TEXT, value TEXT);"), false));
    auto p = t.start();
    QVERIFY(p->ok);
    QVERIFY(!p->ctx->db().hasTable(QStringLiteral("matsedel")).value());
    p->window->ExitProgram();
    QVERIFY(fileBytes(t.dbPath()).startsWith("SQLite format 3"));
}

void TestStartup::readOnlyFileOpensReadWrite()
{
    TempProgram t;
    QVERIFY(t.installDelivered());
    QFile(t.dbPath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    auto p = t.start();
    QVERIFY(p->ok);
    QVERIFY(QFileInfo(t.dbPath()).isWritable());
    QVERIFY(p->ctx->db().execute("INSERT INTO tblKategorier (Kategori) VALUES (?1);", { "Ny" }));
}

void TestStartup::defaultPageSizeFileOpens()
{
    TempProgram t;
    QVERIFY(
        t.makeCookbook(QStringLiteral("CREATE TABLE options (uid INTEGER PRIMARY KEY, name TEXT, value TEXT);"
                                      "INSERT INTO tblRecept (Titel) VALUES ('Ärtsoppa');"),
            false));
    {
        Database db;
        QVERIFY(db.openPlain(t.dbPath()));
        QVERIFY(db.execute("ATTACH DATABASE ?1 AS enc KEY 'plumb';", { t.path(QStringLiteral("enc.mdb")) }));
        QVERIFY(db.exec("SELECT sqlcipher_export('enc'); DETACH DATABASE enc;"));
    }
    QFile::remove(t.dbPath());
    QVERIFY(QFile::rename(t.path(QStringLiteral("enc.mdb")), t.dbPath()));
    auto p = t.start();
    QVERIFY(p->ok);
    QCOMPARE(p->ctx->db().scalar("SELECT Titel FROM tblRecept;")->toString(), QStringLiteral("Ärtsoppa"));
}

void TestStartup::missingDatabase()
{
    TempProgram t;
    auto p = t.start();
    QVERIFY(!p->ok);
    QVERIFY(p->exitCode != 0);
    QCOMPARE(t.prompts.shown().size(), 1);
    QCOMPARE(t.prompts.shown().at(0).text, QStringLiteral("Uppgraderingen installerad i fel katalog."));
    QCOMPARE(t.prompts.shown().at(0).title, QStringLiteral("KROX Gastrid 2.1"));
    QVERIFY(QDir(t.folder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestStartup::secondRunningCopyIsRefused()
{
    TempProgram t;
    QVERIFY(t.installDelivered());
    auto first = t.start();
    QVERIFY(first->ok);

    auto runSecond = [&](QString* out) {
        QProcess second;
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.start(
            QCoreApplication::applicationFilePath(), { QStringLiteral("--second-copy"), t.folder() });
        second.waitForFinished(60000);
        *out = QString::fromUtf8(second.readAll());
        return second.exitCode();
    };
    QString out;
    QVERIFY(runSecond(&out) != 0);
    QVERIFY2(out.contains(QStringLiteral("används redan")) && out.contains(QStringLiteral("locked")),
        qPrintable(out));

    first->window->ExitProgram();
    QCOMPARE(runSecond(&out), 0);
}

void TestStartup::damagedFilesAreLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("answer"); // "" = no backup to offer
    for (const char* kind : { "truncated", "garbage page", "header", "foreign" }) {
        QTest::addRow("%s, Ja", kind) << kind << "Ja";
        QTest::addRow("%s, Nej", kind) << kind << "Nej";
    }
    QTest::newRow("truncated, no backup") << "truncated"
                                          << "";
    QTest::newRow("garbage page, no backup") << "garbage page"
                                             << "";
    QTest::newRow("wrong password, no backup") << "password"
                                               << "";
    QTest::newRow("truncated plain, no backup") << "truncated-plain"
                                                << "";
}

// Damages the cookbook the way `kind` says, on the bytes of the real file.
static bool damage(TempProgram& t, const QString& kind)
{
    QByteArray bytes = fileBytes(t.dbPath());
    if (kind == QLatin1String("password")) {
        Database db;
        if (!db.openPlain(t.path(QStringLiteral("x.db")))
            || !db.execute("ATTACH DATABASE ?1 AS enc KEY 'annat';", { t.path(QStringLiteral("other.db")) })
            || !db.exec("CREATE TABLE enc.t(a); DETACH DATABASE enc;"))
            return false;
        db.close();
        bytes = fileBytes(t.path(QStringLiteral("other.db")));
        QFile::remove(t.path(QStringLiteral("other.db")));
    } else if (kind == QLatin1String("foreign")) {
        bytes = QByteArrayLiteral("Inköpslista\r\nmjölk\r\nägg\r\n");
    } else if (kind == QLatin1String("header")) {
        bytes.replace(0, 100, QByteArray(100, 'x'));
    } else if (kind == QLatin1String("garbage page")) {
        // A page in the middle: the file still opens, only a check finds it.
        const qsizetype page = Database::EncryptedPageSize;
        if (bytes.size() < 8 * page)
            return false;
        for (qsizetype i = 0; i < page; ++i)
            bytes[5 * page + i] = char((i * 131 + 7) & 0xff);
    } else {
        bytes.truncate(bytes.size() / 2 + 100);
    }
    put(t.dbPath(), bytes);
    return true;
}

void TestStartup::damagedFilesAreLeftAlone()
{
    QFETCH(QString, kind);
    QFETCH(QString, answer);
    TempProgram t;
    if (kind == QLatin1String("truncated-plain")) {
        QVERIFY(t.installDelivered());
    } else {
        QVERIFY(t.makeCookbook(
            QStringLiteral("INSERT INTO tblRecept (Titel, Ingredienser) VALUES ('Gammal', '');")));
        const QString backups = t.path(QStringLiteral("backup"));
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        QVERIFY(Backup::make(db, backups, QDate(2026, 1, 1), Cookbook::DatabaseKey).outcome
            == Backup::Outcome::Ok);
        QVERIFY(db.exec("UPDATE tblRecept SET Titel='Ärtsoppa';"));
        if (!answer.isEmpty())
            QVERIFY(Backup::make(db, backups, QDate(2026, 1, 2), Cookbook::DatabaseKey).outcome
                == Backup::Outcome::Ok);
        else
            QVERIFY(QDir(backups).removeRecursively());
        // Written after the newest backup: lost with the damaged file.
        QVERIFY(db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                        "INSERT INTO tblRecept (Titel, Ingredienser) SELECT 'Senare ' || i, "
                        "printf('%.*c', 200, 'x') FROM n;"));
    }
    QVERIFY(damage(t, kind));
    const QByteArray damaged = fileBytes(t.dbPath());
    QVERIFY(QDir(t.folder()).mkpath(QStringLiteral("bilder")));
    const QStringList before = QDir(t.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QString newest = QDir::toNativeSeparators(t.path(QStringLiteral("backup/dbRcp-2026-01-02.mdb")));
    if (!answer.isEmpty())
        t.prompts.queueAnswer(answer == QLatin1String("Ja") ? Prompts::Answer::Yes : Prompts::Answer::No);

    auto p = t.start();
    QCOMPARE(t.prompts.pendingAnswers(), 0);
    QCOMPARE(t.prompts.unexpected(), 0);
    const auto& shown = t.prompts.shown();
    QVERIFY(!shown.isEmpty());
    const QString msg = shown.at(0).text;
    QCOMPARE(shown.at(0).title, QStringLiteral("KROX Gastrid 2.1"));
    QVERIFY2(msg.contains(QStringLiteral("kunde inte"))
            && msg.contains(QRegularExpression(QStringLiteral(" \\d+$"))),
        qPrintable(msg));
    if (answer == QLatin1String("Ja")) {
        QVERIFY(p->ok);
        QCOMPARE(shown.at(0).buttons, Prompts::Buttons::YesNo);
        QVERIFY2(msg.contains(newest), qPrintable(msg));
        QCOMPARE(p->ctx->db().scalar("SELECT group_concat(Titel) FROM tblRecept;")->toString(),
            QStringLiteral("Ärtsoppa"));
        const QStringList aside = QDir(t.folder()).entryList({ QStringLiteral("dbRcp-skadad-*.mdb") });
        QCOMPARE(aside.size(), 1);
        QVERIFY2(msg.contains(aside.at(0)) && shown.last().text.contains(aside.at(0)), qPrintable(msg));
        QCOMPARE(fileBytes(t.path(aside.at(0))), damaged);
        QVERIFY(!QFileInfo::exists(t.dbPath() + QStringLiteral(".restore")));
        p->window->ExitProgram();
        return;
    }
    QVERIFY(!p->ok);
    QVERIFY(p->exitCode != 0);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).buttons, answer.isEmpty() ? Prompts::Buttons::Ok : Prompts::Buttons::YesNo);
    if (answer.isEmpty() && kind != QLatin1String("truncated-plain"))
        QVERIFY2(
            msg.contains(QStringLiteral("skadad")) && msg.contains(QStringLiteral("ingen säkerhetskopia")),
            qPrintable(msg));
    QCOMPARE(fileBytes(t.dbPath()), damaged);
    QCOMPARE(QDir(t.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

// A hot journal left beside a damaged file belongs to it: it goes aside
// with it, and the backup's copy is not rolled back by it.
void TestStartup::restoreTakesTheJournalAside()
{
    TempProgram t;
    QVERIFY(t.makeCookbook(
        QStringLiteral("INSERT INTO tblRecept (Titel, Ingredienser) VALUES ('Ärtsoppa', '');")));
    {
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        QVERIFY(Backup::make(db, t.path(QStringLiteral("backup")), QDate(2026, 1, 2), Cookbook::DatabaseKey)
                    .outcome
            == Backup::Outcome::Ok);
    }
    QVERIFY(damage(t, QStringLiteral("header")));
    put(t.dbPath() + QStringLiteral("-journal"), QByteArray(4096, 'j'));
    const QString aside = t.path(QStringLiteral("dbRcp-skadad-x.mdb"));
    const auto r = Restore::fromBackup(
        t.dbPath(), t.path(QStringLiteral("backup/dbRcp-2026-01-02.mdb")), Cookbook::DatabaseKey, aside);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.aside, aside);
    QCOMPARE(fileBytes(aside + QStringLiteral("-journal")), QByteArray(4096, 'j'));
    QVERIFY(!QFileInfo::exists(t.dbPath() + QStringLiteral("-journal")));
    QCOMPARE(queryValue(t.dbPath(), "SELECT Titel FROM tblRecept;").toString(), QStringLiteral("Ärtsoppa"));

    // A damaged backup is refused before anything moves.
    const QByteArray now = fileBytes(t.dbPath());
    put(t.path(QStringLiteral("bad.mdb")), QByteArray(8192, 'b'));
    const auto bad = Restore::fromBackup(t.dbPath(), t.path(QStringLiteral("bad.mdb")), Cookbook::DatabaseKey,
        t.path(QStringLiteral("dbRcp-skadad-y.mdb")));
    QVERIFY(!bad.ok && bad.aside.isEmpty() && !bad.error.isEmpty());
    QCOMPARE(fileBytes(t.dbPath()), now);
    QVERIFY(!QFileInfo::exists(t.path(QStringLiteral("dbRcp-skadad-y.mdb"))));
}

// A long first start keeps telling the window that it goes on.
void TestStartup::largeUpgradeTicks()
{
    TempProgram t;
    QVERIFY(t.makeCookbook(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                          "WHERE i < 20000) INSERT INTO tblRecept (Titel, Ingredienser) "
                                          "SELECT 'Recept ' || i, printf('%.*c', 200, 'x') FROM n;"),
        false));
    Database db;
    int ticks = 0;
    QVERIFY(Cookbook::open(db, t.dbPath(), nullptr, [&] { ++ticks; }));
    QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
    QCOMPARE(db.scalar("SELECT count(*) FROM tblRecept;")->toInt(), 20000);
    QVERIFY(db.hasTable(QStringLiteral("options")).value());
}

// The start's upgrade runs with a connection of its own while the probe is
// closed, and the file is opened again after it.
void TestStartup::upgradeElsewhere_data()
{
    QTest::addColumn<bool>("upgraded");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<int>("calls");
    QTest::newRow("first start") << false << false << 1;
    QTest::newRow("already upgraded") << true << false << 0;
    QTest::newRow("upgrade fails") << false << true << 1;
}

void TestStartup::upgradeElsewhere()
{
    QFETCH(bool, upgraded);
    QFETCH(bool, fails);
    QFETCH(int, calls);
    TempProgram t;
    QVERIFY(t.makeCookbook(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                          "WHERE i < 20000) INSERT INTO tblRecept (Titel, Ingredienser) "
                                          "SELECT 'Recept ' || i, printf('%.*c', 200, 'x') FROM n;"),
        upgraded));
    const QByteArray before = fileBytes(t.dbPath());
    Database db;
    RunState state;
    int called = 0;
    Cookbook::OpenFailure failure;
    const bool opened = Cookbook::openWith(db, t.dbPath(), &failure, [&](const QString& path) -> DbStatus {
        ++called;
        if (db.isOpen())
            return DbError { QStringLiteral("probe still open"), DbCode::Error };
        if (fails)
            return DbError { QStringLiteral("refused"), DbCode::Error };
        return Upgrading::run(state, path);
    });
    QCOMPARE(called, calls);
    QCOMPARE(opened, !fails);
    QCOMPARE(db.isOpen(), !fails);
    if (fails) {
        QCOMPARE(failure.stage, Cookbook::Stage::Upgrade);
        QCOMPARE(failure.error.text, QStringLiteral("refused"));
        QCOMPARE(fileBytes(t.dbPath()), before);
        return;
    }
    QVERIFY(db.hasTable(QStringLiteral("options")).value());
    QCOMPARE(db.scalar("SELECT count(*) FROM tblRecept;")->toInt(), 20000);
}

void TestStartup::upgradeRefusesACopyThatDiffers_data()
{
    QTest::addColumn<QByteArray>("damage");
    QTest::newRow("a recipe lost") << QByteArray(
        "DELETE FROM tblRecept WHERE RID = (SELECT max(RID) FROM tblRecept);");
    QTest::newRow("a table too many") << QByteArray("CREATE TABLE extra (a); INSERT INTO extra VALUES (1);");
    QTest::newRow("a setting already there")
        << QByteArray("INSERT INTO options (name, value) VALUES ('x', 'y');");
}

void TestStartup::upgradeRefusesACopyThatDiffers()
{
    QFETCH(QByteArray, damage);
    TempProgram t;
    QVERIFY(t.installDelivered());
    const QByteArray before = fileBytes(t.dbPath());
    Database db;
    QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
    const DbStatus s = Cookbook::upgradeSchema(db, t.dbPath(), [&](const QString& copy) {
        Database c;
        QVERIFY(c.open(copy, Cookbook::DatabaseKey));
        QVERIFY(c.exec(damage.constData()));
    });
    QVERIFY(!s);
    QCOMPARE(s.error().code, DbCode::Corrupt);
    QVERIFY(!db.isOpen());
    QCOMPARE(fileBytes(t.dbPath()), before);
    QVERIFY(!QFileInfo::exists(t.dbPath() + QStringLiteral(".upgrade")));
}

void TestStartup::storedSettings_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("after");
    QTest::addColumn<quint32>("windowColor");
    QTest::addColumn<quint32>("buttonColor");
    const quint32 w = 14805231, b = 13622246;
    auto row = [](const char* name, const char* key, const char* stored, const char* after, quint32 wc,
                   quint32 bc) {
        QTest::newRow(name) << QString::fromUtf8(key) << QString::fromUtf8(stored) << QString::fromUtf8(after)
                            << wc << bc;
    };
    row("blue window", "rgb_windows", "0,0,255", "0,0,255", 16711680, b);
    row("red window", "rgb_windows", "255,0,0", "255,0,0", 255, b);
    row("halves to even", "rgb_windows", "0.5,1.5,2.5", "0.5,1.5,2.5", 256 * 2 + 65536 * 2, b);
    row("red buttons", "rgb_buttons", "255,0,0", "255,0,0", w, 255);
    row("size with fraction", "windowsize", "900.7,700.2", "900.7,700.2", w, b);
    // Malformed values fall back to the default and the row is repaired.
    row("size one piece", "windowsize", "800", "792,566", w, b);
    row("size not a number", "windowsize", "bred,hög", "792,566", w, b);
    row("size beyond 16 bits", "windowsize", "70000,600", "792,566", w, b);
    row("colour two pieces", "rgb_windows", "10,20", "239,232,225", w, b);
    row("colour letters", "rgb_buttons", "röd,grön,blå", "230,219,207", w, b);
    row("colour above 255", "rgb_windows", "300,0,0", "239,232,225", w, b);
    row("colour 256", "rgb_buttons", "0,256,0", "230,219,207", w, b);
    row("green 1 is 256", "rgb_buttons", "0,1,0", "0,1,0", w, 256);
    row("colour empty", "rgb_buttons", "", "230,219,207", w, b);
    row("upgrade text", "upgrade", "ja", "1", w, b);
    row("upgrade negative", "upgrade", "-1", "1", w, b);
}

void TestStartup::storedSettings()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, after);
    QFETCH(quint32, windowColor);
    QFETCH(quint32, buttonColor);
    TempProgram t;
    QVERIFY(t.makeCookbook(QString()));
    {
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        QVERIFY(db.execute("INSERT INTO options (name, value) VALUES (?1, ?2);", { key, stored }));
    }
    auto p = t.start();
    QVERIFY(p->ok);
    QCOMPARE(t.prompts.shown().size(), 0);
    QCOMPARE(p->ctx->db().scalar("SELECT value FROM options WHERE name=?1;", { key })->toString(), after);
    QCOMPARE(p->ctx->db().scalar("SELECT count(*) FROM options;")->toInt(), 4);
    QCOMPARE(p->ctx->state().windowColour(), windowColor);
    QCOMPARE(p->ctx->state().buttonColour(), buttonColor);
    QCOMPARE(p->window->palette().color(QPalette::Window), colourFromValue(windowColor));
    auto* button = p->window->findChild<QPushButton*>(QStringLiteral("cmdButton_0"));
    QCOMPARE(button->palette().color(QPalette::Button), colourFromValue(buttonColor));
    if (key == QLatin1String("upgrade"))
        QCOMPARE(int(p->ctx->state().seekUppgradering()), 1);
}

void TestStartup::programTitle_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("title");
    QTest::newRow("release") << 1 << 0 << "KROX Gastrid 2.1";
    QTest::newRow("revision 12") << 1 << 12 << "KROX Gastrid 2.112";
    QTest::newRow("revision 1") << 0 << 1 << "KROX Gastrid 2.01";
}

void TestStartup::programTitle()
{
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, title);
    QCOMPARE(Settings::ProgramTitle(2, minor, revision), title);
}

void TestStartup::exitStoresClientSize()
{
    TempProgram t;
    QVERIFY(t.installDelivered());
    auto p = t.start();
    QVERIFY(p->ok);
    p->window->resize(800, 600);
    QCOMPARE(p->window->size(), QSize(800, 600));
    p->window->close();
    QVERIFY(p->window->hasExited());
    QVERIFY(!p->ctx->db().isOpen());
    QCOMPARE(queryValue(t.dbPath(), "SELECT value FROM options WHERE name='windowsize';").toString(),
        QStringLiteral("800,600"));
}

void TestStartup::storedSizeIsApplied()
{
    TempProgram t;
    QVERIFY(t.makeCookbook(QStringLiteral("SELECT 1;")));
    {
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        QVERIFY(db.exec("INSERT INTO options (name, value) VALUES ('windowsize', '700,500');"));
    }
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    QVERIFY(screen.width() > 700 && screen.height() > 500);
    // Left at a size, too small, on a larger screen.
    const QList<std::pair<QString, QSize>> stored
        = { { "700,500", QSize(700, 500) }, { "100,100", QSize(640, 480) }, { "5000,4000", screen } };
    for (const auto& [value, size] : stored) {
        {
            Database db;
            QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
            QVERIFY(db.execute("UPDATE options SET value=?1 WHERE name='windowsize';", { value }));
        }
        auto p = t.start();
        p->window->show();
        QTRY_COMPARE(p->window->size(), size);
        QCOMPARE(p->window->isMaximized(), value == "5000,4000");
        p->window->ExitProgram();
    }
}

// A second copy of the program, started as its own process by the test.
static int runSecondCopy(int argc, char** argv)
{
    QApplication app(argc, argv);
    Prompts prompts;
    prompts.setScripted(true);
    auto p = startProgram(QString::fromLocal8Bit(argv[2]), prompts, false);
    for (const auto& s : prompts.shown())
        std::cout << s.text.toStdString() << std::endl;
    if (p->ok)
        p->window->ExitProgram();
    return p->ok ? 0 : p->exitCode;
}

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--second-copy") == 0)
        return runSecondCopy(argc, argv);
    QApplication app(argc, argv);
    TestStartup t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_startup.moc"
