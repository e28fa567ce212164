// Where the program keeps its files, how an installed program's first start
// fills a user's data folder, and what the command line hands over.
#include "core/app/CommandLine.h"
#include "core/app/ProgramPaths.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using Kind = ProgramPaths::Kind;
using CommandLine::FileKind;

Q_DECLARE_METATYPE(ProgramPaths::Kind)
Q_DECLARE_METATYPE(QList<CommandLine::GivenFile>)

namespace {

const QString Exe = u"/usr/lib/krox-gastrid"_s;

bool makeFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestProgramPaths : public QObject {
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
    void prepare_data();
    void prepare();
    void firstStartsOfTwoUsers();
    void parse_data();
    void parse();
    void takeOver_data();
    void takeOver();
};

void TestProgramPaths::choose_data()
{
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("home");
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("delivered");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("manual");

    const QString data = u"/home/anna/.local/share/KROX Gastrid"_s;
    const QString manual = u"/usr/share/krox-gastrid/Manual/Default.htm"_s;
    QTest::newRow("portable install keeps its folder")
        << u"/home/anna/KROX Gastrid"_s << u""_s << u"/home/anna"_s << true << false << Kind::Portable
        << u"/home/anna/KROX Gastrid"_s << u"/home/anna/KROX Gastrid/Manual/Default.htm"_s;
    QTest::newRow("a cookbook beside wins over an install")
        << Exe << u"/x"_s << u"/home/anna"_s << true << true << Kind::Portable << Exe
        << Exe + u"/Manual/Default.htm"_s;
    QTest::newRow("installed, no XDG_DATA_HOME")
        << Exe << u""_s << u"/home/anna"_s << false << true << Kind::Installed << data << manual;
    QTest::newRow("installed, XDG_DATA_HOME set")
        << Exe << u"/srv/data/"_s << u"/home/anna"_s << false << true << Kind::Installed
        << u"/srv/data/KROX Gastrid"_s << manual;
    QTest::newRow("a relative XDG_DATA_HOME is ignored")
        << Exe << u"data"_s << u"/home/anna"_s << false << true << Kind::Installed << data << manual;
    QTest::newRow("another user, another cookbook")
        << Exe << u""_s << u"/home/bo"_s << false << true << Kind::Installed
        << u"/home/bo/.local/share/KROX Gastrid"_s << manual;
    QTest::newRow("unpacked under another root")
        << u"/tmp/root/usr/lib/krox-gastrid"_s << u""_s << u"/home/anna"_s << false << true << Kind::Installed
        << data << u"/tmp/root/usr/share/krox-gastrid/Manual/Default.htm"_s;
    // A build tree's program must not take over the installed program's data.
    QTest::newRow("neither: the executable's folder, which has no cookbook")
        << u"/src/build"_s << u""_s << u"/home/anna"_s << false << false << Kind::Portable << u"/src/build"_s
        << u"/src/build/Manual/Default.htm"_s;
}

void TestProgramPaths::choose()
{
    QFETCH(QString, exe);
    QFETCH(QString, xdg);
    QFETCH(QString, home);
    QFETCH(bool, beside);
    QFETCH(bool, delivered);
    const ProgramPaths p = ProgramPaths::choose({ exe, xdg, home, beside, delivered });
    QTEST(p.kind, "kind");
    QTEST(p.programFolder, "folder");
    QTEST(p.manualPath(), "manual");
}

void TestProgramPaths::prepare_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("delivered"); // empty: none installed
    QTest::addColumn<QString>("existing"); // what the data folder holds before
    QTest::addColumn<QByteArray>("cookbookAfter"); // empty: none
    QTest::addColumn<QString>("message"); // part of it; empty: none

    QTest::newRow("first start copies the delivered cookbook")
        << Kind::Installed << "DELIVERED"_ba << u""_s << "DELIVERED"_ba << u""_s;
    QTest::newRow("a cookbook of the user's own stays")
        << Kind::Installed << "DELIVERED"_ba << u"dbRcp.mdb"_s << "MINE"_ba << u""_s;
    QTest::newRow("a folder without a cookbook gets one")
        << Kind::Installed << "DELIVERED"_ba << u"bilder/1.jpg"_s << "DELIVERED"_ba << u""_s;
    QTest::newRow("nothing delivered: told, nothing half made")
        << Kind::Installed << ""_ba << u""_s << ""_ba << u"kunde inte läsas"_s;
    QTest::newRow("no folder can be made: told")
        << Kind::Installed << "DELIVERED"_ba << u"!"_s << ""_ba << u"kunde inte skapas"_s;
    QTest::newRow("a linked cookbook out of reach: told, the link stays")
        << Kind::Installed << "DELIVERED"_ba << u"->"_s << ""_ba << u"inte går att nå"_s;
    QTest::newRow("a portable install is left as it is")
        << Kind::Portable << "DELIVERED"_ba << u""_s << ""_ba << u""_s;
}

void TestProgramPaths::prepare()
{
    QFETCH(Kind, kind);
    QFETCH(QByteArray, delivered);
    QFETCH(QString, existing);
    QFETCH(QByteArray, cookbookAfter);
    QFETCH(QString, message);

    QTemporaryDir dir;
    ProgramPaths p;
    p.kind = kind;
    p.shareFolder = dir.filePath(u"usr/share/krox-gastrid"_s);
    p.programFolder = dir.filePath(u"home/.local/share/KROX Gastrid"_s);
    QVERIFY(QDir().mkpath(p.shareFolder));
    if (!delivered.isEmpty())
        QVERIFY(makeFile(p.deliveredCookbook(), delivered));
    if (existing == u"!"_s) // a file where a folder must go
        QVERIFY(makeFile(dir.filePath(u"home/.local"_s), "x"));
    else if (existing == u"->"_s) {
        QVERIFY(QDir().mkpath(p.programFolder));
        QVERIFY(
            QFile::link(dir.filePath(u"usb/dbRcp.mdb"_s), QDir(p.programFolder).filePath(u"dbRcp.mdb"_s)));
    } else if (!existing.isEmpty())
        QVERIFY(makeFile(QDir(p.programFolder).filePath(existing), "MINE"));

    const QString told = p.prepare();
    QVERIFY2(message.isEmpty() ? told.isEmpty() : told.contains(message), qPrintable(told));
    const QString cookbook = QDir(p.programFolder).filePath(u"dbRcp.mdb"_s);
    QCOMPARE(QFileInfo(cookbook).isSymLink(), existing == u"->"_s);
    if (cookbookAfter.isEmpty())
        QVERIFY(!QFileInfo::exists(cookbook));
    else
        QCOMPARE(bytesOf(cookbook), cookbookAfter);
    // No copy left behind under another name.
    if (QFileInfo(p.programFolder).isDir()) {
        const QStringList names = QDir(p.programFolder).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(names, cookbookAfter.isEmpty() ? QStringList() : QStringList { u"dbRcp.mdb"_s });
    }
    if (kind == Kind::Installed && existing.isEmpty() && told.isEmpty())
        QCOMPARE(QFile::permissions(p.programFolder)
                & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                    | QFile::WriteOther | QFile::ExeOther),
            QFile::Permissions());
    if (!delivered.isEmpty())
        QCOMPARE(bytesOf(p.deliveredCookbook()), delivered);
}

// The real first start of an installed program, for two users: each gets an
// encrypted cookbook of their own, and the delivered one stays as it was.
void TestProgramPaths::firstStartsOfTwoUsers()
{
    QTemporaryDir root;
    const QString exe = root.filePath(u"usr/lib/krox-gastrid"_s);
    const QString share = root.filePath(u"usr/share/krox-gastrid"_s);
    QVERIFY(QDir().mkpath(exe));
    QVERIFY(QDir().mkpath(share));
    QVERIFY(QFile::copy(QStringLiteral(GASTRID_DELIVERED_DB), share + u"/dbRcp.mdb"_s));
    const QByteArray delivered = bytesOf(share + u"/dbRcp.mdb"_s);

    QStringList cookbooks;
    for (const QString& user : { u"anna"_s, u"bo"_s }) {
        ProgramPaths::Surroundings s = ProgramPaths::look(exe);
        s.home = root.filePath(u"home/"_s + user);
        s.xdgDataHome.clear();
        const ProgramPaths p = ProgramPaths::choose(s);
        QCOMPARE(p.kind, Kind::Installed);
        QCOMPARE(p.prepare(), QString());
        Prompts prompts;
        prompts.setScripted(true);
        auto program = startProgram(p, prompts, false);
        QVERIFY(program->ok);
        QCOMPARE(program->ctx->manualPath(), share + u"/Manual/Default.htm"_s);
        QVERIFY(QFileInfo(program->ctx->pictureFolder()).isDir());
        program.reset();
        cookbooks << p.programFolder + u"/dbRcp.mdb"_s;
    }
    QCOMPARE(cookbooks.at(0), root.filePath(u"home/anna/.local/share/KROX Gastrid/dbRcp.mdb"_s));
    QCOMPARE(cookbooks.at(1), root.filePath(u"home/bo/.local/share/KROX Gastrid/dbRcp.mdb"_s));
    for (const QString& c : cookbooks) {
        QString out;
        QVERIFY2(runSqlcipher(c, u"SELECT count(*) FROM sqlite_master;"_s, &out) != 0, qPrintable(out));
        QVERIFY(queryValue(c, "SELECT count(*) FROM tblRecept;").toInt() > 0);
    }
    QCOMPARE(bytesOf(share + u"/dbRcp.mdb"_s), delivered);
}

void TestProgramPaths::parse_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QList<CommandLine::GivenFile>>("files");
    QTest::addColumn<QStringList>("unknown");
    QTest::addColumn<QString>("badOption");

    using Files = QList<CommandLine::GivenFile>;
    const QString cur = u"/home/anna/Recept"_s;
    QTest::newRow("nothing") << QStringList() << Files() << QStringList() << u""_s;
    QTest::newRow("a fridge list, relative")
        << QStringList { u"kyl/helg.kyl"_s } << Files { { FileKind::Fridge, cur + u"/kyl/helg.kyl"_s } }
        << QStringList() << u""_s;
    QTest::newRow("a recipe file, capital extension")
        << QStringList { u"/tmp/KAKA.RCP"_s } << Files { { FileKind::Recipe, u"/tmp/KAKA.RCP"_s } }
        << QStringList() << u""_s;
    QTest::newRow("several, in order, with others between")
        << QStringList { u"a.rcp"_s, u"brev.txt"_s, u"../b.kyl"_s, u""_s, u"kyl"_s }
        << Files { { FileKind::Recipe, cur + u"/a.rcp"_s }, { FileKind::Fridge, u"/home/anna/b.kyl"_s } }
        << QStringList { u"brev.txt"_s, u"kyl"_s } << u""_s;
    QTest::newRow("a file URL from a file manager")
        << QStringList { u"file:///tmp/mitt%20kyl.kyl"_s }
        << Files { { FileKind::Fridge, u"/tmp/mitt kyl.kyl"_s } } << QStringList() << u""_s;
    QTest::newRow("a file URL naming this machine")
        << QStringList { u"file://localhost/tmp/a.rcp"_s } << Files { { FileKind::Recipe, u"/tmp/a.rcp"_s } }
        << QStringList() << u""_s;
    QTest::newRow("a URL of another machine") << QStringList { u"file://server/a.kyl"_s } << Files()
                                              << QStringList { u"file://server/a.kyl"_s } << u""_s;
    QTest::newRow("an unknown option stops")
        << QStringList { u"a.kyl"_s, u"--help"_s, u"b.kyl"_s }
        << Files { { FileKind::Fridge, cur + u"/a.kyl"_s } } << QStringList() << u"--help"_s;
    QTest::newRow("after -- a name may start with -")
        << QStringList { u"--"_s, u"-x.kyl"_s, u"--"_s } << Files { { FileKind::Fridge, cur + u"/-x.kyl"_s } }
        << QStringList { u"--"_s } << u""_s;
    QTest::newRow("a lone - is a name")
        << QStringList { u"-"_s } << Files() << QStringList { u"-"_s } << u""_s;
}

void TestProgramPaths::parse()
{
    QFETCH(QStringList, args);
    const CommandLine::Request r = CommandLine::parse(args, u"/home/anna/Recept"_s);
    QTEST(r.files, "files");
    QTEST(r.unknownFiles, "unknown");
    QTEST(r.badOption, "badOption");
    // What a second copy hands to the running one arrives as it was.
    if (r.badOption.isEmpty())
        QCOMPARE(CommandLine::takeOverMessage(CommandLine::handOverMessage(r)), std::optional(r));
}

void TestProgramPaths::takeOver_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("files"); // taken files and names; -1: the message is refused
    const QByteArray head = "KROX-GASTRID-FILER 1\n";
    QTest::newRow("files and a name, a line break inside one") << head
            + "K /tmp/a%0Ab.kyl\nR /tmp/c.RCP\n? brev.txt\n\n" << 3;
    QTest::newRow("nothing") << head + "\n" << 0;
    QTest::newRow("cut off") << head + "K /tmp/a.kyl\n" << -1;
    QTest::newRow("another program") << "KROX-GASTRID-FILER 2\nK /tmp/a.kyl\n\n"_ba << -1;
    QTest::newRow("a relative name") << head + "K a.kyl\n\n" << -1;
    QTest::newRow("a name that climbs") << head + "R /tmp/../etc/a.rcp\n\n" << -1;
    QTest::newRow("a kind its name does not fit") << head + "K /tmp/a.rcp\n\n" << -1;
    QTest::newRow("a line without a name") << head + "K\n\n" << -1;
}

void TestProgramPaths::takeOver()
{
    QFETCH(QByteArray, message);
    const std::optional<CommandLine::Request> r = CommandLine::takeOverMessage(message);
    QTEST(r ? int(r->files.size() + r->unknownFiles.size()) : -1, "files");
}

QTEST_MAIN(TestProgramPaths)
#include "tst_programpaths.moc"
