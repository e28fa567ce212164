#include "support/TestSupport.h"

#include "core/db/Cookbook.h"
#include "core/db/Database.h"
#include "ui/app/Colours.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

const char* const RecipeSchema
    = "CREATE TABLE tblKategorier (KID INTEGER PRIMARY KEY AUTOINCREMENT, Kategori TEXT);"
      "CREATE TABLE tblRecept (RID INTEGER PRIMARY KEY AUTOINCREMENT, Titel TEXT, Kategori INTEGER, "
      "AntalPersoner TEXT, Tid TEXT, Ingredienser TEXT, Anvisningar TEXT);"
      "CREATE TABLE tblIngredienser (IID INTEGER PRIMARY KEY AUTOINCREMENT, Ingrediens TEXT);";

TempProgram::TempProgram()
{
    prompts.setScripted(true);
}

bool TempProgram::installDelivered()
{
    QFile::remove(dbPath());
    if (!QFile::copy(QStringLiteral(GASTRID_DELIVERED_DB), dbPath()))
        return false;
    return QFile(dbPath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool TempProgram::makeCookbook(const QString& sql, bool upgraded)
{
    QFile::remove(dbPath());
    {
        Database db;
        if (!db.openPlain(dbPath()))
            return false;
        for (const QByteArray& script : { QByteArray(RecipeSchema), sql.toUtf8() }) {
            if (DbStatus s = db.exec(script.constData()); !s) {
                qWarning("%s", qPrintable(s.error().describe()));
                return false;
            }
        }
        if (!upgraded)
            return true;
    }
    Database db;
    if (!db.open(dbPath(), Cookbook::DatabaseKey))
        return false;
    if (DbStatus s = Cookbook::upgradeSchema(db, dbPath()); !s) {
        qWarning("%s", qPrintable(s.error().describe()));
        return false;
    }
    return true;
}

std::unique_ptr<Program> TempProgram::start(bool show)
{
    Colours::installStyle();
    return startProgram(folder(), prompts, show);
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray picture(const char* head, int size, quint32 seed)
{
    QByteArray b(head);
    QRandomGenerator g(seed);
    while (b.size() < size)
        b += char(g.bounded(256));
    return b;
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

int runSqlcipher(const QString& path, const QString& script, QString* output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("sqlcipher"), { QStringLiteral("-batch"), path });
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (output)
        *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QVariant queryValue(const QString& dbPath, const char* sql, const QVariantList& values)
{
    Database db;
    if (DbStatus s = db.open(dbPath, Cookbook::DatabaseKey); !s)
        return QStringLiteral("<open failed: %1>").arg(s.error().describe());
    const auto v = db.scalar(sql, values);
    return v ? *v : QVariant(QStringLiteral("<query failed: %1>").arg(v.error().describe()));
}
