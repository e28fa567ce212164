// Recipe pictures on disk, the picture window and the about window.
#include "core/catalogue/Pictures.h"
#include "support/TestSupport.h"
#include "ui/app/AppContext.h"
#include "ui/catalogue/FrmReceptBild.h"
#include "ui/mainwindow/FrmAbout.h"

#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString DataDir = QStringLiteral(GASTRID_TEST_DATA "/pictures/");
using Names = QStringList;

// A program folder with an empty picture folder, scripted prompts and a picture window.
struct Fixture {
    Fixture()
        : ctx(dir.path(), prompts)
    {
        prompts.setScripted(true);
        ctx.state().setWindowColour(14805231);
        QDir(dir.path()).mkdir(QStringLiteral("bilder"));
    }
    // The window deletes itself on close; this only cleans up one left open.
    ~Fixture() { delete w.data(); }
    QString folder() const { return ctx.pictureFolder(); }
    QString pic(const QString& name) const { return QDir(folder()).filePath(name); }
    Names files() const { return QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }
    void write(const QString& path, const QByteArray& bytes) const
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void openWindow()
    {
        w = new FrmReceptBild(ctx.prompts(), ctx.paths(), ctx.state(), [this] { return rid; });
        w->show();
    }
    QPushButton* button(int i) const { return widget<QPushButton>(w, QStringLiteral("cmdButton_%1").arg(i)); }
    QLabel* preview() const { return widget<QLabel>(w, QStringLiteral("picPreview")); }
    QString fileName() const { return widget<QLineEdit>(w, QStringLiteral("txtFilename"))->text(); }
    void choose(const QString& file)
    {
        prompts.queueFileName(file);
        button(0)->click();
    }
    QTemporaryDir dir;
    Prompts prompts;
    AppContext ctx;
    qint32 rid = 12;
    QPointer<FrmReceptBild> w;
};

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void lookupAndRemoval_data();
    void lookupAndRemoval();
    void store_data();
    void store();
    void storeReplacesWhatIsThere_data();
    void storeReplacesWhatIsThere();
    void removalFailure();
    void chooseAndOk_data();
    void chooseAndOk();
    void previewLimits_data();
    void previewLimits();
    void beyondAllocationLimit_data();
    void beyondAllocationLimit();
    void dialogProposesNoName_data();
    void dialogProposesNoName();
    void removeButton();
    void about();
};

void TestPictures::lookupAndRemoval_data()
{
    QTest::addColumn<Names>("present");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<Names>("afterRemove");
    QTest::newRow("jpg over gif") << Names { "12.gif", "12.jpg" } << "12.jpg" << Names { "12.gif" };
    QTest::newRow("bmp over all") << Names { "12.bmp", "12.gif", "12.jpg" } << "12.bmp"
                                  << Names { "12.gif", "12.jpg" };
    const Names others { "012.bmp", "1.gif", "12.png", "120.jpg" };
    QTest::newRow("other recipes") << others << "" << others;
}

void TestPictures::lookupAndRemoval()
{
    QFETCH(Names, present);
    QFETCH(QString, shown);
    QFETCH(Names, afterRemove);
    Fixture f;
    for (const QString& name : present)
        f.write(f.pic(name), "x");
    QCOMPARE(Pictures::ReceptBildFil(f.folder(), 12), shown.isEmpty() ? QString() : f.pic(shown));
    QVERIFY(Pictures::removePicture(f.folder(), 12).ok);
    QCOMPARE(f.files(), afterRemove);
    // Removing the whole recipe takes its pictures of every type, and only those.
    QVERIFY(Pictures::removeAllPictures(f.folder(), 12).ok);
    QCOMPARE(f.files(), shown.isEmpty() ? present : Names());
}

void TestPictures::store_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<Names>("before");
    QTest::addColumn<Names>("after");
    QTest::addColumn<QString>("error");
    const QString notAPicture = QStringLiteral("Filen %1 är ingen bild av typen JPG, GIF eller BMP.");
    QTest::newRow("multi-dot name") << "2024.05.01.jpg" << Names() << Names { "12.jpg" } << QString();
    QTest::newRow("upper-case extension") << "Bild.JPG" << Names() << Names { "12.jpg" } << QString();
    QTest::newRow("older pictures go")
        << "Ny.jpg" << Names { "12.gif", "12.jpg", "12.bmp" } << Names { "12.jpg" } << QString();
    QTest::newRow("other recipes stay")
        << "Ny.bmp" << Names { "120.jpg", "2.gif" } << Names { "12.bmp", "120.jpg", "2.gif" } << QString();
    QTest::newRow("png") << "Bild.png" << Names { "12.gif" } << Names { "12.gif" }
                         << notAPicture.arg("Bild.png");
    QTest::newRow("jpg not last") << "Bild.jpg.png" << Names() << Names() << notAPicture.arg("Bild.jpg.png");
    // The disk takes the buffered bytes only when the copy is committed.
    QTest::newRow("full at commit") << "Ny.jpg" << Names { "12.jpg" } << Names { "12.jpg" }
                                    << QStringLiteral("Bilden kunde inte kopieras");
}

void TestPictures::store()
{
    QFETCH(QString, chosen);
    QFETCH(Names, before);
    QFETCH(Names, after);
    QFETCH(QString, error);
    const bool full = QByteArray(QTest::currentDataTag()) == "full at commit";
    Fixture f;
    for (const QString& name : before)
        f.write(f.pic(name), "old " + name.toUtf8());
    // Larger than one copy buffer, unless the disk is to fill up.
    const QString source = f.dir.filePath(chosen);
    const QByteArray bytes = fileBytes(DataDir + "green.jpg") + QByteArray(full ? 4000 : 200000, '\x5a');
    f.write(source, bytes);

    Pictures::Result r;
    {
        // A file size limit stands in for a full disk: writes beyond it fail.
        rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
        if (full) {
            rlimit small = old;
            small.rlim_cur = 1000;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        r = Pictures::storePicture(f.folder(), 12, source);
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldHandler);
    }
    QCOMPARE(f.files(), after);
    QCOMPARE(fileBytes(source), bytes);
    // A refused or failed file leaves the folder as it was.
    if (!error.isEmpty()) {
        QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
        for (const QString& name : before)
            QCOMPARE(fileBytes(f.pic(name)), "old " + name.toUtf8());
        return;
    }
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(fileBytes(Pictures::ReceptBildFil(f.folder(), 12)), bytes);
}

void TestPictures::storeReplacesWhatIsThere_data()
{
    QTest::addColumn<QString>("there");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("owner");
    QTest::newRow("link to a file outside") << "link" << 0 << 0;
    QTest::newRow("private picture") << "file" << 0600 << 0;
    QTest::newRow("group-readable, other owner") << "file" << 0640 << 1234;
}

// The old name is replaced: a link there is not written through, and a
// picture keeps the mode and owner the user gave it.
void TestPictures::storeReplacesWhatIsThere()
{
    QFETCH(QString, there);
    QFETCH(int, mode);
    QFETCH(int, owner);
    Fixture f;
    const QString outside = f.dir.filePath("utanför.txt");
    f.write(outside, "not a picture");
    if (there == QLatin1String("link")) {
        QVERIFY(QFile::link(outside, f.pic("12.jpg")));
    } else {
        f.write(f.pic("12.jpg"), "old");
        QCOMPARE(::chmod(QFile::encodeName(f.pic("12.jpg")).constData(), mode_t(mode)), 0);
        if (owner && ::geteuid() == 0)
            QCOMPARE(::chown(QFile::encodeName(f.pic("12.jpg")).constData(), uid_t(owner), gid_t(owner)), 0);
    }
    QVERIFY(Pictures::storePicture(f.folder(), 12, DataDir + "green.jpg").ok);
    QCOMPARE(fileBytes(outside), QByteArray("not a picture"));
    QVERIFY(!QFileInfo(f.pic("12.jpg")).isSymLink());
    QCOMPARE(fileBytes(f.pic("12.jpg")), fileBytes(DataDir + "green.jpg"));
    QCOMPARE(f.files(), Names { "12.jpg" });
    struct stat st { };
    QCOMPARE(::stat(QFile::encodeName(f.pic("12.jpg")).constData(), &st), 0);
    if (mode)
        QCOMPARE(int(st.st_mode & 07777), mode);
    if (owner && ::geteuid() == 0)
        QCOMPARE(int(st.st_uid), owner);
}

void TestPictures::removalFailure()
{
    Fixture f;
    QVERIFY(QDir().mkpath(f.pic("12.gif/inne")));
    f.write(f.pic("12.jpg"), "x");
    // The file that cannot go is named, and the others still go.
    QCOMPARE(Pictures::removeAllPictures(f.folder(), 12).error,
        QStringLiteral("Bilden %1 kunde inte tas bort.").arg(f.pic("12.gif")));
    QCOMPARE(f.files(), Names { "12.gif" });
}

void TestPictures::chooseAndOk_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("copyFails");
    QTest::addColumn<qint32>("okRid");
    const QString noRecipe = QStringLiteral("Inget recept är markerat.");
    QTest::newRow("gif") << "red.gif" << QSize(20, 10) << QString() << false << 13;
    QTest::newRow("jpg") << "green.jpg" << QSize(30, 15) << QString() << false << 13;
    QTest::newRow("bmp") << "blue.bmp" << QSize(12, 8) << QString() << false << 13;
    QTest::newRow("not an image") << "trasig.jpg" << QSize(5, 5) << "Bilden kunde inte visas." << false << 13;
    QTest::newRow("copy fails") << "blue.bmp" << QSize(12, 8) << "Bilden kunde inte kopieras" << true << 13;
    // A search without hits leaves the list with no current recipe.
    QTest::newRow("list empty at OK") << "green.jpg" << QSize(30, 15) << noRecipe << true << 0;
}

void TestPictures::chooseAndOk()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QString, message);
    QFETCH(bool, copyFails);
    QFETCH(qint32, okRid);
    Fixture f;
    QVERIFY(QImage(5, 5, QImage::Format_RGB32).save(f.pic("12.bmp"), "BMP"));
    f.write(f.pic("13.gif"), "old");
    f.write(f.dir.filePath("trasig.jpg"), "inte en bild");
    const QString path = QFileInfo::exists(DataDir + file) ? DataDir + file : f.dir.filePath(file);
    f.openWindow();
    QSignalSpy changed(f.w.data(), &FrmReceptBild::pictureChanged);
    QSignalSpy closed(f.w.data(), &FrmReceptBild::closed);
    f.choose(path);
    const bool chosen = size != QSize(5, 5);
    QCOMPARE(f.fileName(), chosen ? QFileInfo(path).absoluteFilePath() : QString());
    QCOMPARE(f.w->previewSize(), size);
    QCOMPARE(f.files(), Names({ "12.bmp", "13.gif" }));

    // The main list moves on before OK; an empty name just closes.
    f.rid = okRid;
    const QString target = "13." + QFileInfo(file).suffix();
    if (copyFails && okRid)
        QVERIFY(QDir().mkpath(f.pic(target + "/inne")));
    f.button(2)->click();
    QCOMPARE(f.prompts.shown().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY(f.prompts.shown().at(0).text.startsWith(message));
    QCOMPARE(closed.size(), copyFails ? 0 : 1);
    // A stored picture replaces the older one; a failed copy leaves no file and the older one intact.
    const bool stored = chosen && !copyFails;
    QCOMPARE(changed.size(), stored ? 1 : 0);
    if (copyFails && okRid)
        QVERIFY(QDir(f.pic(target)).removeRecursively());
    const QString kept = stored ? target : "13.gif";
    QCOMPARE(f.files(), Names({ "12.bmp", kept }));
    QCOMPARE(fileBytes(f.pic(kept)), stored ? fileBytes(path) : QByteArray("old"));
}

void TestPictures::previewLimits_data()
{
    QTest::addColumn<QList<QSize>>("pictures");
    QTest::addColumn<QSize>("preview");
    using L = QList<QSize>;
    QTest::newRow("wide only") << L { { 600, 100 } } << QSize(417, 100);
    QTest::newRow("tall only") << L { { 100, 400 } } << QSize(100, 249);
    QTest::newRow("both") << L { { 800, 600 } } << QSize(417, 249);
    QTest::newRow("small") << L { { 50, 40 } } << QSize(50, 40);
    QTest::newRow("at the limit") << L { { 417, 249 } } << QSize(417, 249);
    // Once squeezed, later pictures fill the preview as it is.
    QTest::newRow("small after wide") << L { { 600, 100 }, { 50, 40 } } << QSize(417, 100);
}

void TestPictures::previewLimits()
{
    QFETCH(QList<QSize>, pictures);
    QFETCH(QSize, preview);
    Fixture f;
    f.openWindow();
    QCOMPARE(f.w->palette().color(QPalette::Window), colourFromValue(14805231));
    // Without a picture there is nothing to remove.
    QVERIFY(!f.button(3)->isVisible());
    QRgb last = 0;
    for (int i = 0; i < pictures.size(); ++i) {
        QImage img(pictures[i], QImage::Format_RGB32);
        last = QColor::fromHsv(i * 120, 255, 255).rgb();
        img.fill(last);
        const QString path = f.dir.filePath(QStringLiteral("p%1.bmp").arg(i));
        QVERIFY(img.save(path, "BMP"));
        f.choose(path);
    }
    QCOMPARE(f.w->previewSize(), preview);
    // The last picture covers the whole preview, stretched or not.
    const QImage shown = f.preview()->grab().toImage();
    QCOMPARE(shown.pixel(preview.width() - 1, preview.height() - 1), last);
}

void TestPictures::beyondAllocationLimit_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("jpg stored") << "jpg" << true << QString();
    QTest::newRow("bmp chosen") << "bmp" << false << "Bilden är för stor för att visas.";
}

// A picture Qt will not read whole is shown scaled where its format allows
// that, and the user is told where it does not.
void TestPictures::beyondAllocationLimit()
{
    QFETCH(QString, format);
    QFETCH(bool, stored);
    QFETCH(QString, message);
    Fixture f;
    QImage img(1200, 900, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 255));
    const QString path = stored ? f.pic("12." + format) : f.dir.filePath("stor." + format);
    QVERIFY(img.save(path, qPrintable(format.toUpper())));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    auto restore = qScopeGuard([limit] { QImageReader::setAllocationLimit(limit); });
    f.openWindow();
    if (!stored)
        f.choose(path);
    QTRY_COMPARE(f.prompts.shown().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(f.prompts.shown().at(0).text, message);
        QVERIFY(f.preview()->pixmap().isNull());
        return;
    }
    QCOMPARE(f.w->previewSize(), QSize(417, 249));
    const QImage shown = f.preview()->grab().toImage();
    QVERIFY(qBlue(shown.pixel(416, 248)) > 200 && qRed(shown.pixel(416, 248)) < 50);
}

void TestPictures::dialogProposesNoName_data()
{
    QTest::addColumn<bool>("picturesFolder");
    QTest::newRow("the user's picture folder") << true;
    QTest::newRow("no picture folder") << false;
}

// The real dialog, with a person's answer: it opens on a folder and offers
// no file name of its own.
void TestPictures::dialogProposesNoName()
{
    QFETCH(bool, picturesFolder);
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    if (picturesFolder)
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Pictures")));
    Fixture f;
    f.openWindow();
    f.prompts.setScripted(false);
    QString proposed = QStringLiteral("(no dialog)");
    QString shownFolder;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        proposed = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        shownFolder = dlg->directory().absolutePath();
        dlg->reject();
    });
    poll.start(50);
    f.button(0)->click();
    QCOMPARE(proposed, QString());
    QCOMPARE(shownFolder,
        picturesFolder ? home.filePath(QStringLiteral("Pictures")) : QDir(home.path()).absolutePath());
    QCOMPARE(f.fileName(), QString());
}

void TestPictures::removeButton()
{
    Fixture f;
    QFile::copy(DataDir + "blue.bmp", f.pic("12.bmp"));
    f.openWindow();
    QSignalSpy changed(f.w.data(), &FrmReceptBild::pictureChanged);
    for (const bool yes : { false, true }) {
        f.prompts.queueAnswer(yes ? Prompts::Answer::Yes : Prompts::Answer::No);
        f.button(3)->click();
        QCOMPARE(QFileInfo::exists(f.pic("12.bmp")), !yes);
        QCOMPARE(f.button(3)->isVisible(), !yes);
        QCOMPARE(f.preview()->pixmap().isNull(), yes);
        QCOMPARE(changed.size(), yes ? 1 : 0);
    }
    QVERIFY(f.w->isVisible());

    QFile::copy(DataDir + "blue.bmp", f.pic("12.bmp"));
    f.rid = 0;
    f.prompts.queueAnswer(Prompts::Answer::Yes);
    f.button(3)->click();
    QVERIFY(f.prompts.shown().last().text.startsWith("Inget recept är markerat."));
    QVERIFY(QFileInfo::exists(f.pic("12.bmp")));
    QCOMPARE(changed.size(), 1);
}

void TestPictures::about()
{
    Fixture f;
    f.ctx.state().setProgramTitle(QStringLiteral("KROX Gastrid 2.1"));
    QPointer<FrmAbout> a = new FrmAbout(f.ctx.state());
    a->show();
    QCOMPARE(a->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("KROX Gastrid 2.1"));
    // The icon comes from a resource the linker may drop.
    QVERIFY(!a->findChild<QLabel*>("picIcon")->pixmap().isNull());
    a->findChild<QPushButton*>("cmdOK")->click();
    QTRY_VERIFY(a.isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
