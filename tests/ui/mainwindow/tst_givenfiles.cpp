// Files the program is started with: fridge lists into the search panel,
// recipe files offered for import.
#include "support/TestSupport.h"
#include "ui/exchange/RecipeFileTransfer.h"
#include "ui/mainwindow/GivenFiles.h"

#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

const char* const Categories = "INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Bakverk');"
                               "INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (1, 'Bullar', 1);";

QByteArray block(const QByteArray& titel)
{
    return "<titel>" + titel + "</titel><kategori>1</kategori>\r\n<portioner>8</portioner><tid></tid>"
        + "<ingredienser>2 dl mj\xf6l\r\n2 \xe4gg</ingredienser><anvisningar>Gr\xe4"
        + "dda.</anvisningar>\r\n";
}

// Files every row may name, made once (Windows-1252 bytes).
const QList<std::pair<QString, QByteArray>> Files = {
    { u"helg.kyl"_s, "mj\xf6l\r\n\xe4gg\r\n" },
    { u"tom.kyl"_s, "" },
    { u"kaka.rcp"_s, block("\xc4ppelkaka") + block("Bullar") },
    { u"brev.rcp"_s, "Hej!\r\n" },
    { u"trasig.rcp"_s, block("Sockerkaka") + "<titel>Halv</titel><kategori>1</kategori>" },
    // As another cookbook exports it: its own category number, the name
    // beside it, a character Windows-1252 lacks as a reference.
    { u"export.rcp"_s,
        "<titel>Pierogi z "
        "mi&#281;sem</titel>\r\n<kategori>7</kategori>\r\n<kategorinamn>Bakverk</kategorinamn>"
        "\r\n<portioner>4</portioner>\r\n<tid></tid>\r\n<ingredienser>&#38;#</ingredienser>\r\n"
        "<anvisningar></anvisningar>\r\n" },
    { u"brev.txt"_s, "Hej!" },
};

QString titles(Database& db)
{
    const auto v = db.scalar("SELECT group_concat(Titel || '/' || Kategori, '|') FROM "
                             "(SELECT Titel, Kategori FROM tblRecept ORDER BY RID);");
    return v ? v->toString() : u"?"_s;
}

} // namespace

class TestGivenFiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_files;

private slots:
    void initTestCase();
    void open_data();
    void open();
};

void TestGivenFiles::initTestCase()
{
    for (const auto& [name, bytes] : Files)
        put(m_files.filePath(name), bytes);
}

void TestGivenFiles::open_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("answers"); // J = Ja, N = Nej, in turn
    QTest::addColumn<QStringList>("fridge"); // the search list after; it held "gammal"
    QTest::addColumn<QString>("recipes"); // every title after, in number order
    QTest::addColumn<QStringList>("told"); // a part of each message shown, in turn
    QTest::addColumn<bool>("handed"); // opened by a second copy, which hands them over

    const QStringList old { u"gammal"_s };
    const QString question = u"Vill du lägga in recepten från filen %1 i kokboken?"_s;
    const QString none = u"Bullar/1"_s;
    QTest::newRow("a fridge list replaces the list")
        << QStringList { u"helg.kyl"_s } << u""_s << QStringList { u"mjöl"_s, u"ägg"_s } << none
        << QStringList() << false;
    QTest::newRow("of two fridge lists the last stays")
        << QStringList { u"helg.kyl"_s, u"tom.kyl"_s } << u""_s << QStringList() << none << QStringList()
        << false;
    QTest::newRow("a missing fridge list is told and the list kept")
        << QStringList { u"saknas.kyl"_s } << u""_s << old << none << QStringList { u"saknas.kyl"_s }
        << false;
    QTest::newRow("a recipe file, Ja: every recipe added, a known title as a copy")
        << QStringList { u"kaka.rcp"_s } << u"J"_s << old << u"Bullar/1|Äppelkaka/1|Bullar kopia/1"_s
        << QStringList { question.arg(u"kaka.rcp"_s), u"klar: 2 recept importerades.\n\n1 av dem"_s }
        << false;
    QTest::newRow("a recipe file, Nej: nothing") << QStringList { u"kaka.rcp"_s } << u"N"_s << old << none
                                                 << QStringList { question.arg(u"kaka.rcp"_s) } << false;
    QTest::newRow("a file this program wrote: category by name, every character")
        << QStringList { u"export.rcp"_s } << u"J"_s << old << u"Bullar/1|Pierogi z mięsem/1"_s
        << QStringList { question.arg(u"export.rcp"_s), u"1 recept importerades"_s } << false;
    QTest::newRow("two recipe files: a question each, one summary")
        << QStringList { u"kaka.rcp"_s, u"export.rcp"_s } << u"NJ"_s << old
        << u"Bullar/1|Pierogi z mięsem/1"_s
        << QStringList { question.arg(u"kaka.rcp"_s), question.arg(u"export.rcp"_s), u"1 recept"_s } << false;
    QTest::newRow("not a recipe file") << QStringList { u"brev.rcp"_s } << u"J"_s << old << none
                                       << QStringList { question.arg(u"brev.rcp"_s), u"brev.rcp"_s } << false;
    QTest::newRow("a broken block: nothing of the file")
        << QStringList { u"trasig.rcp"_s } << u"J"_s << old << none
        << QStringList { question.arg(u"trasig.rcp"_s), u"0 recept importerades"_s } << false;
    QTest::newRow("other files are named first, then the rest opens")
        << QStringList { u"kaka.rcp"_s, u"brev.txt"_s, u"helg.kyl"_s } << u"J"_s
        << QStringList { u"mjöl"_s, u"ägg"_s } << u"Bullar/1|Äppelkaka/1|Bullar kopia/1"_s
        << QStringList { u"kan inte öppna brev.txt"_s, question.arg(u"kaka.rcp"_s), u"2 recept"_s } << false;
    // Opened from the desktop while the program runs: the running copy takes them.
    QTest::newRow("handed over while a question is open: a fridge list, after it")
        << QStringList { u"helg.kyl"_s } << u""_s << QStringList { u"mjöl"_s, u"ägg"_s } << none
        << QStringList() << true;
    QTest::newRow("handed over: other files named, a recipe file asked about")
        << QStringList { u"kaka.rcp"_s, u"brev.txt"_s } << u"J"_s << old
        << u"Bullar/1|Äppelkaka/1|Bullar kopia/1"_s
        << QStringList { u"kan inte öppna brev.txt"_s, question.arg(u"kaka.rcp"_s), u"2 recept"_s } << true;
}

void TestGivenFiles::open()
{
    QFETCH(QStringList, args);
    QFETCH(QString, answers);
    QFETCH(QStringList, told);
    QFETCH(bool, handed);
    const QString none = u"Bullar/1"_s;

    TempProgram t;
    QVERIFY(t.makeCookbook(QString::fromLatin1(Categories)));
    auto p = t.start();
    QVERIFY(p && p->ok);
    auto* list = widget<QListWidget>(p->window.get(), u"lstSeek"_s);
    QVERIFY(list);
    list->addItem(u"gammal"_s);
    t.prompts.setScripted(true);
    t.prompts.clearShown();
    for (QChar a : answers)
        t.prompts.queueAnswer(a == u'J' ? Prompts::Answer::Yes : Prompts::Answer::No);

    QSignalSpy imported(&p->window->recipeFiles(), &RecipeFileTransfer::importFinished);
    if (handed) {
        // The real program, started beside the running one's cookbook.
        const QString exe = t.path(u"gastrid"_s);
        QVERIFY(QFile::copy(QStringLiteral(GASTRID_EXE), exe));
        QProcess second;
        second.setWorkingDirectory(m_files.path());
        QSignalSpy ended(&second, &QProcess::finished);
        QDialog question(p->window.get());
        const bool asking = QString::fromUtf8(QTest::currentDataTag()).contains(u"question is open"_s);
        if (asking)
            question.open();
        second.start(exe, args);
        QVERIFY(ended.wait(120000));
        QCOMPARE(second.exitCode(), 0);
        if (asking) {
            QTest::qWait(300);
            QCOMPARE(list->item(0)->text(), u"gammal"_s);
            question.accept();
            QTRY_VERIFY_WITH_TIMEOUT(list->count() == 0 || list->item(0)->text() != u"gammal"_s, 10000);
        }
    } else {
        openGivenFiles(*p->window, *p->ctx, CommandLine::parse(args, m_files.path()));
    }
    if (answers.contains(u'J'))
        QVERIFY(!imported.isEmpty() || imported.wait(60000));

    QStringList fridge;
    for (int i = 0; i < list->count(); ++i)
        fridge << list->item(i)->text();
    QTEST(fridge, "fridge");
    QTEST(titles(p->ctx->db()), "recipes");
    QCOMPARE(t.prompts.shown().size(), told.size());
    for (int i = 0; i < told.size(); ++i)
        QVERIFY2(t.prompts.shown().at(i).text.contains(told.at(i)), qPrintable(t.prompts.shown().at(i).text));
    QCOMPARE(t.prompts.pendingAnswers(), 0);
    QCOMPARE(t.prompts.unexpected(), 0);
    // Added recipes show at the top of the newest ones.
    if (titles(p->ctx->db()) != none)
        QCOMPARE(p->window->kategoriPos(), Catalogue::NewestPosition);
    // The user's files stay as they were, and nothing is left behind.
    for (const auto& [name, bytes] : Files)
        QCOMPARE(bytesOf(m_files.filePath(name)), bytes);
    QVERIFY(!QFileInfo::exists(t.path(u"tmpRecept.txt"_s)));
}

QTEST_MAIN(TestGivenFiles)
#include "tst_givenfiles.moc"
