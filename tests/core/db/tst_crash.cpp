// Power cuts, imitated: a child process changes recipes (or upgrades a
// cookbook) and is killed with SIGKILL at random moments. After every kill
// the file must pass the engine's integrity check, hold every change the
// child reported as committed, exactly, and the program must start on it.
// GASTRID_CRASH_KILLS / GASTRID_CRASH_UPGRADE_KILLS set the numbers of kills
// (more by hand, with QTEST_FUNCTION_TIMEOUT raised past QtTest's five
// minutes for a few hundred), GASTRID_CRASH_SEED repeats a run.
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Records.h"
#include "core/db/Cookbook.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <map>
#include <random>
#include <unistd.h>

namespace {

int setting(const char* name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

// The recipe a seed stands for: the same in child and parent.
Records::Fields fieldsFor(quint32 seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    static const char* const words[]
        = { "mjöl", "ägg", "smör", "socker", "grädde", "lök", "salt", "peppar", "dl", "msk", "tsk", "1/2" };
    auto text = [&](int lines, int words_) {
        QStringList out;
        for (int l = 0; l < lines; ++l) {
            QStringList line;
            for (int w = 1 + pick(words_); w > 0; --w)
                line << QString::fromUtf8(words[pick(12)]);
            out << line.join(u' ');
        }
        return out.join(u'\n');
    };
    Records::Fields f;
    f.titel = QStringLiteral("Recept %1 – %2").arg(seed).arg(text(1, 3));
    f.antalPersoner = pick(4) ? QString::number(1 + pick(12)) : QString();
    f.tid = pick(3) ? QStringLiteral("%1 min").arg(5 + pick(120)) : QString();
    f.ingredienser = text(1 + pick(30), 4);
    // Now and then long enough to spill over several pages.
    f.anvisningar = text(pick(5) ? 1 + pick(10) : 200 + pick(400), 12);
    return f;
}

void say(const QByteArray& line)
{
    const QByteArray l = line + '\n';
    (void)!::write(1, l.constData(), size_t(l.size()));
}

// Child: changes recipes until it is killed, telling what it is about to do
// and when that has been committed.
int editChild(const QString& folder, quint32 base)
{
    Database db;
    Cookbook::OpenFailure failure;
    if (!Cookbook::open(db, QDir(folder).filePath(QStringLiteral("dbRcp.mdb")), &failure)) {
        say("failed " + failure.error.describe().toUtf8());
        return 1;
    }
    QVector<qint32> rids;
    {
        auto st = db.prepare("SELECT RID FROM tblRecept;");
        while (st->next())
            rids << st->int32(0);
    }
    std::mt19937 rng(base);
    say("ready");
    for (quint32 n = 1;; ++n) {
        const quint32 seed = base + n;
        const unsigned roll = rng() % 10;
        if (rids.size() < 5 || (roll < 5 && rids.size() < 60)) {
            say("will add " + QByteArray::number(seed));
            const auto rid = Records::addRecipe(db, 1, fieldsFor(seed));
            if (!rid)
                return 2;
            rids << *rid;
            say("done " + QByteArray::number(*rid));
        } else if (roll < 8) {
            const qint32 rid = rids.at(qsizetype(rng() % unsigned(rids.size())));
            say("will edit " + QByteArray::number(rid) + ' ' + QByteArray::number(seed));
            if (!Records::saveRecipe(db, rid, fieldsFor(seed)).ok())
                return 2;
            say("done");
        } else {
            QVector<qint32> gone;
            QByteArray line = "will del";
            for (unsigned k = 1 + rng() % 3; k > 0 && !rids.isEmpty(); --k) {
                gone << rids.takeAt(qsizetype(rng() % unsigned(rids.size())));
                line += ' ' + QByteArray::number(gone.last());
            }
            say(line);
            if (!Records::deleteRecipes(db, gone))
                return 2;
            say("done");
        }
    }
}

// Child: the first start's upgrade, and nothing else.
int upgradeChild(const QString& folder)
{
    Database db;
    Cookbook::OpenFailure failure;
    if (!Cookbook::open(db, QDir(folder).filePath(QStringLiteral("dbRcp.mdb")), &failure))
        return 1;
    say("upgraded");
    return 0;
}

// Every recipe in the file by number, once the engine's integrity check has passed.
std::optional<std::map<qint32, Records::Fields>> readAll(const QString& path, QString* problem)
{
    Database db;
    if (DbStatus s = db.open(path, Cookbook::DatabaseKey); !s) {
        *problem = s.error().describe();
        return std::nullopt;
    }
    if (const auto ic = db.scalar("PRAGMA integrity_check;"); !ic || ic->toString() != QLatin1String("ok")) {
        *problem = QStringLiteral("integrity_check: ") + (ic ? ic->toString() : ic.error().describe());
        return std::nullopt;
    }
    std::map<qint32, Records::Fields> out;
    auto st = db.prepare("SELECT RID, Titel, AntalPersoner, Tid, Ingredienser, Anvisningar FROM tblRecept;");
    while (st->next())
        out[st->int32(0)] = { st->text(1), st->text(2), st->text(3), Catalogue::fromStored(st->text(4)),
            Catalogue::fromStored(st->text(5)) };
    return out;
}

QByteArray contentHash(const QString& path)
{
    QString problem;
    const auto all = readAll(path, &problem);
    if (!all)
        return problem.toUtf8();
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const auto& [rid, f] : *all)
        h.addData(QStringList {
            QString::number(rid), f.titel, f.antalPersoner, f.tid, f.ingredienser, f.anvisningar }
                      .join(u'|')
                      .toUtf8());
    return h.result().toHex();
}

// Recipe number -> seed of its fields, as the child reported its changes.
using Model = std::map<qint32, quint32>;

// "add <seed>" (numbered `added`), "edit <rid> <seed>" or "del <rid>...".
void apply(Model& m, const QByteArrayList& op, qint32 added)
{
    if (op.first() == "add")
        m[added] = op.at(1).toUInt();
    else if (op.first() == "edit")
        m[op.at(1).toInt()] = op.at(2).toUInt();
    else
        for (const QByteArray& rid : op.mid(1))
            m.erase(rid.toInt());
}

} // namespace

class TestCrash : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWhileEditing();
    void killedWhileUpgrading();

private:
    bool programStarts(TempProgram& t);
    quint32 m_seed = 0;
    QRandomGenerator m_rng;
};

void TestCrash::initTestCase()
{
    m_seed = quint32(setting("GASTRID_CRASH_SEED", int(QRandomGenerator::global()->bounded(1 << 30))));
    m_rng.seed(m_seed);
    qInfo("GASTRID_CRASH_SEED=%u", m_seed);
}

bool TestCrash::programStarts(TempProgram& t)
{
    t.prompts.clearShown();
    auto p = t.start(false);
    if (!p->ok) {
        qWarning("program did not start: %s", qPrintable(t.prompts.shown().value(0).text));
        return false;
    }
    p->window->ExitProgram();
    return t.prompts.shown().isEmpty();
}

void TestCrash::killedWhileEditing()
{
    const int kills = setting("GASTRID_CRASH_KILLS", 30);
    TempProgram t;
    QVERIFY(
        t.makeCookbook(QStringLiteral("INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Soppor');")));
    Model model;
    int committed = 0, cutOff = 0;
    for (int round = 0; round < kills; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--edit-child"), t.folder(), QString::number((m_seed + round) * 1000003u) });
        QVERIFY(child.waitForReadyRead(60000) && child.canReadLine());
        QCOMPARE(child.readLine(), QByteArray("ready\n"));
        QThread::msleep(m_rng.bounded(300));
        child.kill();
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAllStandardOutput();
        QVERIFY2(child.exitStatus() == QProcess::CrashExit, output.constData());

        // Committed changes go into the model; the one under way, if any, may
        // or may not have reached the file.
        QByteArrayList pending;
        for (const QByteArray& line : output.split('\n')) {
            const QByteArrayList w = line.split(' ');
            if (w.first() == "will") {
                pending = w.mid(1);
            } else if (w.first() == "done") {
                apply(model, pending, w.value(1).toInt());
                pending.clear();
                ++committed;
            }
        }
        QString problem;
        const auto stored = readAll(t.dbPath(), &problem);
        QVERIFY2(stored, qPrintable(QStringLiteral("after kill %1: %2").arg(round).arg(problem)));
        auto holds = [&](const Model& m) {
            return m.size() == stored->size() && std::all_of(m.begin(), m.end(), [&](const auto& r) {
                return stored->contains(r.first) && stored->at(r.first) == fieldsFor(r.second);
            });
        };
        if (holds(model)) {
            cutOff += pending.isEmpty() ? 0 : 1;
        } else {
            // Numbers only grow, so a recipe added then is the highest.
            QVERIFY2(!pending.isEmpty(), qPrintable(QStringLiteral("after kill %1").arg(round)));
            apply(model, pending, stored->empty() ? 0 : stored->rbegin()->first);
            QVERIFY2(holds(model),
                qPrintable(QStringLiteral("after kill %1 the cookbook is not what was committed:\n%2")
                               .arg(round)
                               .arg(QString::fromUtf8(output.right(400)))));
            ++committed;
        }
        QVERIFY2(programStarts(t), qPrintable(QStringLiteral("after kill %1").arg(round)));
    }
    qInfo("%d kills while editing survived: %d changes committed, %d cut off before their commit", kills,
        committed, cutOff);
}

void TestCrash::killedWhileUpgrading()
{
    const int kills = setting("GASTRID_CRASH_UPGRADE_KILLS", 12);
    TempProgram t;
    QVERIFY(t.makeCookbook(
        QStringLiteral(
            "INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Soppor');"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
            "INSERT INTO tblRecept (Titel, Kategori, Ingredienser, Anvisningar) "
            "SELECT printf('Recept %d', i), 1, 'mjöl' || char(13,10) || 'ägg', hex(randomblob(500)) FROM n;"),
        false));
    const QByteArray original = fileBytes(t.dbPath());
    const QByteArray expected = contentHash(t.dbPath());
    auto restore = [&] {
        QDir(t.folder()).removeRecursively();
        QDir().mkpath(t.folder());
        QFile f(t.dbPath());
        return f.open(QIODevice::WriteOnly) && f.write(original) == original.size();
    };
    auto runChild = [&](int killAfter) {
        QProcess child;
        QElapsedTimer clock;
        clock.start();
        child.start(
            QCoreApplication::applicationFilePath(), { QStringLiteral("--upgrade-child"), t.folder() });
        if (killAfter >= 0) {
            child.waitForFinished(killAfter);
            child.kill();
        }
        child.waitForFinished(120000);
        return clock.elapsed();
    };
    // A whole upgrade, to know when to kill.
    QVERIFY(restore());
    const int whole = int(runChild(-1));
    QCOMPARE(contentHash(t.dbPath()), expected);
    int before = 0, after = 0;
    for (int round = 0; round < kills; ++round) {
        QVERIFY(restore());
        runChild(int(m_rng.bounded(whole + 1)));
        const QByteArray now = fileBytes(t.dbPath());
        if (now == original) {
            ++before;
        } else {
            // Replaced only by a complete, checked copy.
            QVERIFY2(!now.startsWith("SQLite format 3"), "a plain file that is not the original");
            QCOMPARE(contentHash(t.dbPath()), expected);
            QCOMPARE(queryValue(t.dbPath(),
                         "SELECT count(*) FROM sqlite_master WHERE name IN ('options', 'matsedel');")
                         .toInt(),
                2);
            ++after;
        }
        QVERIFY2(programStarts(t), qPrintable(QStringLiteral("after kill %1").arg(round)));
        QCOMPARE(contentHash(t.dbPath()), expected);
    }
    qInfo("%d kills while upgrading survived (upgrade %d ms): %d left the original, %d the upgraded file",
        kills, whole, before, after);
}

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--edit-child") == 0)
        return editChild(QString::fromLocal8Bit(argv[2]), quint32(QByteArray(argv[3]).toUInt()));
    if (argc == 3 && qstrcmp(argv[1], "--upgrade-child") == 0)
        return upgradeChild(QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    TestCrash t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_crash.moc"
