// Daily backups, the check for damage after start, and a damaged cookbook
// that takes no more writes: on real encrypted files.
#include "core/catalogue/Records.h"
#include "core/db/Backup.h"
#include "core/db/Cookbook.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <sqlite3.h>

#include <sys/stat.h>

namespace {

// No event loop may be entered once a program has exited in this process
// (Qt then leaves every new one at once), so waiting is done by polling.
constexpr int Waiting = 120000;

// Enough ingredient rows to fill a few hundred pages that start-up never reads.
const char* const ManyIngredients
    = "INSERT INTO tblKategorier (Kategori) VALUES ('Soppor');"
      "INSERT INTO tblRecept (Titel, Kategori, Ingredienser) VALUES ('Ärtsoppa', 1, 'ärtor');"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
      "INSERT INTO tblIngredienser (Ingrediens) SELECT printf('ingrediens %05d ', i) || hex(randomblob(80)) "
      "FROM n;";

QDate day(int d)
{
    return QDate(2030, 1, 1).addDays(d);
}

int recipes(const QString& path)
{
    return queryValue(path, "SELECT count(*) FROM tblRecept;").toInt();
}

// A started program whose backups are made for the days a test chooses.
struct Run {
    TempProgram t;
    std::unique_ptr<Program> p;
    QDate today = day(0);

    // A cookbook with its settings rows, so that starting writes nothing.
    explicit Run(const char* sql = ManyIngredients)
    {
        if (!t.makeCookbook(QString::fromUtf8(sql)))
            qFatal("no cookbook");
        t.start(false)->window->ExitProgram();
        QDir(t.path("backup")).removeRecursively();
        t.prompts.clearShown();
    }
    CookbookGuard& guard() { return p->ctx->guard(); }
    bool start(bool show)
    {
        p = t.start(show);
        if (!p->ok)
            return false;
        guard().setToday([this] { return today; });
        return true;
    }
    bool addRecipe()
    {
        return bool(Records::addRecipe(p->ctx->db(), 1, { QStringLiteral("Ny"), {}, {}, {}, {} }));
    }
    QStringList backups() const
    {
        return QDir(t.path("backup")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QString backup(int d) const { return t.path("backup/" + Backup::fileName(day(d))); }
    // Flips bytes in the middle of the file, among the ingredient pages.
    void damage()
    {
        QFile f(t.dbPath());
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(64, '\xA5'));
    }
};

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void copyIsKeyedLikeTheCookbook_data();
    void copyIsKeyedLikeTheCookbook();
    void firstWriteOfEachDay();
    void failedBackupWarnsOnce();
    void checkKeepsCleanCopy_data();
    void checkKeepsCleanCopy();
    void damagedCookbookTakesNoWrites_data();
    void damagedCookbookTakesNoWrites();
};

void TestBackup::copyIsKeyedLikeTheCookbook_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("encrypted, 4096-byte pages") << "4096";
    QTest::newRow("encrypted, engine's page size") << "default";
    QTest::newRow("never encrypted") << "plain";
}

void TestBackup::copyIsKeyedLikeTheCookbook()
{
    QFETCH(QString, kind);
    TempProgram t;
    const QString sql = QStringLiteral("INSERT INTO tblRecept (Titel) VALUES ('Ärtsoppa'), ('Bröd');");
    QVERIFY(t.makeCookbook(sql, kind == QLatin1String("4096")));
    if (kind == QLatin1String("default")) {
        Database db;
        QVERIFY(db.openPlain(t.dbPath()));
        QVERIFY(db.execute("ATTACH DATABASE ?1 AS enc KEY 'plumb';", { t.path("enc.mdb") }));
        QVERIFY(db.exec("SELECT sqlcipher_export('enc'); DETACH DATABASE enc;"));
        db.close();
        QFile::remove(t.dbPath());
        QVERIFY(QFile::rename(t.path("enc.mdb"), t.dbPath()));
    }
    QCOMPARE(::chmod(QFile::encodeName(t.dbPath()).constData(), 0640), 0);
    Database db;
    QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
    const Backup::Result r = Backup::make(db, t.path("backup"), day(0), Cookbook::DatabaseKey);
    QVERIFY2(r.outcome == Backup::Outcome::Ok, qPrintable(r.error));
    const QString copy = t.path("backup/dbRcp-2030-01-01.mdb");
    QCOMPARE(QDir(t.path("backup")).entryList(QDir::Files), QStringList { "dbRcp-2030-01-01.mdb" });
    QCOMPARE(fileBytes(copy).startsWith("SQLite format 3"), kind == QLatin1String("plain"));
    QCOMPARE(
        queryValue(copy, "SELECT group_concat(Titel, ',') FROM (SELECT Titel FROM tblRecept ORDER BY RID);")
            .toString(),
        QStringLiteral("Ärtsoppa,Bröd"));
    QCOMPARE(queryValue(copy, "PRAGMA page_size;"), *db.scalar("PRAGMA page_size;"));
    struct stat st { };
    QCOMPARE(::stat(QFile::encodeName(copy).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), 0640);
}

// Before the first write of a day the cookbook as it was goes to a dated
// copy; the newest ten are kept.
void TestBackup::firstWriteOfEachDay()
{
    Run r;
    QVERIFY(r.start(false));
    QVERIFY(r.backups().isEmpty());
    const int before = r.p->ctx->db().scalar("SELECT count(*) FROM tblRecept;")->toInt();
    QVERIFY(r.addRecipe());
    QVERIFY(r.addRecipe());
    QCOMPARE(r.backups(), QStringList { "dbRcp-2030-01-01.mdb" });
    QCOMPARE(recipes(r.backup(0)), before);
    QCOMPARE(queryValue(r.backup(0), "PRAGMA integrity_check;").toString(), QStringLiteral("ok"));
    for (int d = 1; d <= 11; ++d) {
        r.today = day(d);
        QVERIFY(r.addRecipe());
    }
    QStringList newest;
    for (int d = 11; d >= 2; --d)
        newest.prepend(Backup::fileName(day(d)));
    QCOMPARE(r.backups(), newest);
    QCOMPARE(recipes(r.backup(11)), before + 12);
    QCOMPARE(r.t.prompts.shown().size(), 0);
}

void TestBackup::failedBackupWarnsOnce()
{
    Run r;
    QFile blocker(r.t.path("backup"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(r.start(false));
    for (int d = 0; d < 3; ++d) {
        r.today = day(d);
        QVERIFY(r.addRecipe());
    }
    QCoreApplication::processEvents();
    QCOMPARE(r.t.prompts.shown().size(), 1);
    const Prompts::Shown& warning = r.t.prompts.shown().at(0);
    QCOMPARE(warning.title, QStringLiteral("KROX Gastrid 2.1"));
    QCOMPARE(warning.icon, Prompts::Icon::Warning);
    QVERIFY2(
        warning.text.startsWith(QStringLiteral("Dagens säkerhetskopia av receptdatabasen kunde inte göras.")),
        qPrintable(warning.text));
    QVERIFY(QFileInfo(r.t.path("backup")).isFile());
}

void TestBackup::checkKeepsCleanCopy_data()
{
    QTest::addColumn<bool>("writeFirst");
    QTest::newRow("no write: the check's copy is the day's backup") << false;
    QTest::newRow("a write during the check makes its own") << true;
}

void TestBackup::checkKeepsCleanCopy()
{
    QFETCH(bool, writeFirst);
    Run r;
    QVERIFY(r.start(true));
    QSignalSpy finished(&r.guard(), &CookbookGuard::checkFinished);
    const int before = r.p->ctx->db().scalar("SELECT count(*) FROM tblRecept;")->toInt();
    QVERIFY(r.guard().isChecking());
    if (writeFirst)
        QVERIFY(r.addRecipe());
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), Waiting);
    QCOMPARE(r.backups(), QStringList { "dbRcp-2030-01-01.mdb" });
    QCOMPARE(recipes(r.backup(0)), before);
    QVERIFY(r.addRecipe());
    QCOMPARE(r.backups(), QStringList { "dbRcp-2030-01-01.mdb" });
    QCOMPARE(r.t.prompts.shown().size(), 0);
}

void TestBackup::damagedCookbookTakesNoWrites_data()
{
    QTest::addColumn<bool>("show");
    QTest::newRow("found by the check once the window shows") << true;
    QTest::newRow("found at the first write of the day") << false;
}

void TestBackup::damagedCookbookTakesNoWrites()
{
    QFETCH(bool, show);
    Run r;
    QVERIFY(r.start(false));
    QVERIFY(r.addRecipe());
    r.p->window->ExitProgram();
    r.p.reset();

    // Damage that comes while the program runs, after start-up found the file
    // sound; the pages read at start are dropped, so they are read again.
    r.today = day(1);
    QVERIFY(r.start(show));
    r.damage();
    sqlite3_db_release_memory(r.p->ctx->db().handle());
    const QByteArray damaged = fileBytes(r.t.dbPath());
    QSignalSpy found(&r.guard(), &CookbookGuard::damaged);
    if (show)
        QTRY_VERIFY_WITH_TIMEOUT(!found.isEmpty(), Waiting);
    else
        QVERIFY(!r.addRecipe());
    QCOMPARE(found.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(r.t.prompts.shown().size(), 1);
    const QString text = r.t.prompts.shown().at(0).text;
    QVERIFY2(text.startsWith(QStringLiteral("Receptdatabasen dbRcp.mdb är skadad.")), qPrintable(text));
    QVERIFY2(
        text.contains(
            QStringLiteral("Den senaste säkerhetskopian är %1.").arg(QDir::toNativeSeparators(r.backup(0)))),
        qPrintable(text));

    // Every later write is refused, the day's backup of a damaged file is not
    // made, and closing writes nothing either.
    const auto refused = Records::addRecipe(r.p->ctx->db(), 1, { QStringLiteral("Ny"), {}, {}, {}, {} });
    QVERIFY(!refused);
    QCOMPARE(refused.error().code, DbCode::ReadOnly);
    r.p->window->ExitProgram();
    QCOMPARE(r.backups(), QStringList { "dbRcp-2030-01-01.mdb" });
    QCOMPARE(fileBytes(r.t.dbPath()), damaged);
    QCOMPARE(r.t.prompts.shown().size(), 1);
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
