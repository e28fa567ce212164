// Recipe pictures on disk, the picture window and the about window.
#include "app/AppContext.h"
#include "catalogue/FrmReceptBild.h"
#include "catalogue/Pictures.h"
#include "mainwindow/FrmAbout.h"
#include "support/TestSupport.h"

#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>

namespace {

const QString DataDir = QStringLiteral(GASTRID_TEST_DATA "/pictures/");
using Names = QStringList;

// A program folder with an empty picture folder and scripted prompts.
struct Fixture {
    Fixture()
        : ctx(dir.path(), prompts)
    {
        prompts.setScripted(true);
        ctx.windowColor = QStringLiteral("14805231");
        QDir(dir.path()).mkdir(QStringLiteral("bilder"));
    }
    QString folder() const { return ctx.pictureFolder(); }
    QString pic(const QString& name) const { return QDir(folder()).filePath(name); }
    Names files() const
    {
        return QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
    void write(const QString& path, const QByteArray& bytes) const
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QTemporaryDir dir;
    Prompts prompts;
    AppContext ctx;
    qint32 rid = 12;
};

// The window deletes itself on close; this only cleans up one left open.
struct Window {
    explicit Window(Fixture& f)
        : w(new FrmReceptBild(f.ctx, [&f] { return f.rid; }))
    {
        w->show();
    }
    ~Window() { delete w.data(); }
    FrmReceptBild* operator->() const { return w; }
    QPushButton* button(int i) const
    {
        return w->findChild<QPushButton*>(QStringLiteral("cmdButton_%1").arg(i));
    }
    QLabel* preview() const { return w->findChild<QLabel*>(QStringLiteral("picPreview")); }
    QString fileName() const { return w->findChild<QLineEdit*>(QStringLiteral("txtFilename"))->text(); }
    void open(const QString& file, Fixture& f) const
    {
        f.prompts.queueFileName(file);
        button(0)->click();
    }
    QPointer<FrmReceptBild> w;
};

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void lookupOrder_data();
    void lookupOrder();
    void removeTakesOnlyTheNamedFile();
    void store_data();
    void store();
    void sameFileChosenAgain();
    void failuresChangeNothing_data();
    void failuresChangeNothing();
    void removeAll();

    void formatsPreview_data();
    void formatsPreview();
    void previewLimits_data();
    void previewLimits();
    void openLeavesWindow_data();
    void openLeavesWindow();
    void windowOpens_data();
    void windowOpens();
    void removeButton_data();
    void removeButton();
    void okButton_data();
    void okButton();
    void about();
};

void TestPictures::lookupOrder_data()
{
    QTest::addColumn<Names>("present");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << Names() << "";
    QTest::newRow("gif") << Names { "12.gif" } << "12.gif";
    QTest::newRow("jpg over gif") << Names { "12.gif", "12.jpg" } << "12.jpg";
    QTest::newRow("bmp over all") << Names { "12.gif", "12.jpg", "12.bmp" } << "12.bmp";
    QTest::newRow("other recipes") << Names { "120.jpg", "1.gif", "012.bmp", "12.png" } << "";
}

void TestPictures::lookupOrder()
{
    QFETCH(Names, present);
    QFETCH(QString, expected);
    Fixture f;
    for (const QString& name : present)
        f.write(f.pic(name), "x");
    QCOMPARE(Pictures::ReceptBildFil(f.folder(), 12), expected.isEmpty() ? QString() : f.pic(expected));
    QCOMPARE(Pictures::hasPicture(f.folder(), 12), !expected.isEmpty());
}

void TestPictures::removeTakesOnlyTheNamedFile()
{
    Fixture f;
    f.write(f.pic("12.gif"), "gif");
    f.write(f.pic("12.jpg"), "jpg");
    QVERIFY(Pictures::removePicture(f.folder(), 12).ok);
    QCOMPARE(f.files(), Names { "12.gif" });
    QCOMPARE(Pictures::ReceptBildFil(f.folder(), 12), f.pic("12.gif"));
    QVERIFY(Pictures::removePicture(f.folder(), 12).ok);
    QVERIFY(Pictures::removePicture(f.folder(), 12).ok);
    QCOMPARE(f.files(), Names());
}

void TestPictures::store_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<Names>("before");
    QTest::addColumn<Names>("after");
    QTest::addColumn<bool>("refused");
    QTest::newRow("multi-dot name") << "2024.05.01.jpg" << Names() << Names { "12.jpg" } << false;
    QTest::newRow("upper-case extension") << "Bild.JPG" << Names() << Names { "12.jpg" } << false;
    QTest::newRow("mixed-case gif") << "Bild.Gif" << Names() << Names { "12.gif" } << false;
    QTest::newRow("old bmp goes") << "Ny.jpg" << Names { "12.bmp" } << Names { "12.jpg" } << false;
    QTest::newRow("same type replaced")
        << "Ny.gif" << Names { "12.gif", "12.jpg", "12.bmp" } << Names { "12.gif" } << false;
    QTest::newRow("other recipes stay")
        << "Ny.bmp" << Names { "120.jpg", "2.gif" } << Names { "12.bmp", "120.jpg", "2.gif" } << false;
    QTest::newRow("png") << "Bild.png" << Names { "12.gif" } << Names { "12.gif" } << true;
    QTest::newRow("no extension") << "Bild" << Names { "12.gif" } << Names { "12.gif" } << true;
    QTest::newRow("trailing dot") << "Bild." << Names() << Names() << true;
    QTest::newRow("jpg not last") << "Bild.jpg.png" << Names() << Names() << true;
    QTest::newRow("jpeg") << "Bild.jpeg" << Names() << Names() << true;
}

void TestPictures::store()
{
    QFETCH(QString, chosen);
    QFETCH(Names, before);
    QFETCH(Names, after);
    QFETCH(bool, refused);
    Fixture f;
    for (const QString& name : before)
        f.write(f.pic(name), "old " + name.toUtf8());
    const QString source = f.dir.filePath(chosen);
    const QByteArray bytes = fileBytes(DataDir + "green.jpg") + QByteArray(200000, '\x5a');
    f.write(source, bytes);

    const auto r = Pictures::storePicture(f.folder(), 12, source);
    QCOMPARE(f.files(), after);
    QCOMPARE(fileBytes(source), bytes);
    if (refused) {
        QVERIFY(!r.ok);
        QCOMPARE(r.error, QStringLiteral("Filen %1 är ingen bild av typen JPG, GIF eller BMP.").arg(chosen));
        for (const QString& name : before)
            QCOMPARE(fileBytes(f.pic(name)), "old " + name.toUtf8());
        return;
    }
    QVERIFY2(r.ok, qPrintable(r.error));
    const QString found = Pictures::ReceptBildFil(f.folder(), 12);
    QCOMPARE(QFileInfo(found).fileName(), after.constFirst());
    QCOMPARE(fileBytes(found), bytes);
}

void TestPictures::sameFileChosenAgain()
{
    Fixture f;
    f.write(f.pic("12.gif"), "gif bytes");
    f.write(f.pic("12.jpg"), "jpg bytes");
    QVERIFY(Pictures::storePicture(f.folder(), 12, f.folder() + "/../bilder/./12.gif").ok);
    QCOMPARE(fileBytes(f.pic("12.gif")), QByteArray("gif bytes"));
    QCOMPARE(f.files(), Names { "12.gif" });
}

void TestPictures::failuresChangeNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("store: folder under a file") << "under-file";
    QTest::newRow("store: source is a folder") << "source-folder";
    QTest::newRow("store: source missing") << "source-missing";
    QTest::newRow("store: target is a folder") << "target-folder";
    QTest::newRow("remove: file is a folder") << "remove";
    QTest::newRow("remove all: file is a folder") << "remove-all";
}

void TestPictures::failuresChangeNothing()
{
    QFETCH(QString, kind);
    Fixture f;
    QString folder = f.folder();
    QString source = f.dir.filePath("Ny.jpg");
    f.write(source, "new");
    f.write(f.pic("12.gif"), "old");
    f.write(f.dir.filePath("fil"), "x");
    if (kind == "under-file")
        folder = f.dir.filePath("fil/bilder");
    else if (kind == "source-folder")
        QVERIFY(QFile::remove(source) && QDir().mkdir(source));
    else if (kind == "source-missing")
        source = f.dir.filePath("Borta.jpg");
    else
        QVERIFY(QDir().mkpath(f.pic("12.jpg/inne")));
    const Names before = f.files();
    Pictures::Result r;
    if (kind == "remove")
        r = Pictures::removePicture(folder, 12);
    else if (kind == "remove-all")
        r = Pictures::removeAllPictures(folder, 12);
    else
        r = Pictures::storePicture(folder, 12, source);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains("kunde inte"), qPrintable(r.error));
    if (kind.startsWith("remove")) {
        QCOMPARE(r.error, QStringLiteral("Bilden %1 kunde inte tas bort.").arg(f.pic("12.jpg")));
        QCOMPARE(f.files(), kind == "remove" ? before : Names { "12.jpg" });
        return;
    }
    QCOMPARE(f.files(), before);
    QCOMPARE(fileBytes(f.pic("12.gif")), QByteArray("old"));
    QCOMPARE(fileBytes(f.dir.filePath("fil")), QByteArray("x"));
}

void TestPictures::removeAll()
{
    Fixture f;
    for (const char* name : { "12.gif", "12.jpg", "12.bmp", "120.jpg", "12.png" })
        f.write(f.pic(name), "x");
    QVERIFY(Pictures::removeAllPictures(f.folder(), 12).ok);
    QCOMPARE(f.files(), Names({ "12.png", "120.jpg" }));
}

void TestPictures::formatsPreview_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::newRow("gif") << "red.gif" << QSize(20, 10);
    QTest::newRow("jpg") << "green.jpg" << QSize(30, 15);
    QTest::newRow("bmp") << "blue.bmp" << QSize(12, 8);
}

void TestPictures::formatsPreview()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    const auto formats = QImageReader::supportedImageFormats();
    QVERIFY(formats.contains("gif") && formats.contains("jpeg") && formats.contains("bmp"));
    Fixture f;
    Window w(f);
    w.open(DataDir + file, f);
    QCOMPARE(f.prompts.shown().size(), 0);
    QCOMPARE(w.fileName(), QFileInfo(DataDir + file).absoluteFilePath());
    QCOMPARE(w->previewSize(), size);
    QCOMPARE(w.preview()->pixmap().size(), size);
    QCOMPARE(f.prompts.fileRequests().constFirst().filter,
        QStringLiteral("Bilder (*.jpg;*.gif;*.bmp)|*.jpg;*.gif;*.bmp"));
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
    QTest::newRow("small after small") << L { { 50, 40 }, { 60, 30 } } << QSize(60, 30);
    // Once squeezed, later pictures fill the preview as it is.
    QTest::newRow("small after wide") << L { { 600, 100 }, { 50, 40 } } << QSize(417, 100);
    QTest::newRow("tall after wide") << L { { 600, 100 }, { 100, 400 } } << QSize(417, 100);
}

void TestPictures::previewLimits()
{
    QFETCH(QList<QSize>, pictures);
    QFETCH(QSize, preview);
    Fixture f;
    Window w(f);
    QRgb last = 0;
    for (int i = 0; i < pictures.size(); ++i) {
        QImage img(pictures[i], QImage::Format_RGB32);
        last = QColor::fromHsv(i * 120, 255, 255).rgb();
        img.fill(last);
        const QString path = f.dir.filePath(QStringLiteral("p%1.bmp").arg(i));
        QVERIFY(img.save(path, "BMP"));
        w.open(path, f);
    }
    QCOMPARE(f.prompts.shown().size(), 0);
    QCOMPARE(w->previewSize(), preview);
    // The last picture covers the whole preview, stretched or not.
    const QImage shown = w.preview()->grab().toImage();
    QCOMPARE(shown.size(), preview);
    QCOMPARE(shown.pixel(preview.width() - 1, preview.height() - 1), last);
    QCOMPARE(shown.pixel(0, 0), last);
}

void TestPictures::openLeavesWindow_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("message");
    QTest::newRow("cancelled") << ""
                               << "";
    QTest::newRow("missing file") << "finns-inte.jpg"
                                  << "";
    QTest::newRow("not an image") << "trasig.jpg"
                                  << "Bilden kunde inte visas.";
}

void TestPictures::openLeavesWindow()
{
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    Fixture f;
    QFile::copy(DataDir + "red.gif", f.pic("12.gif"));
    f.write(f.dir.filePath("trasig.jpg"), "inte en bild");
    Window w(f);
    w.open(chosen.isEmpty() ? QString() : f.dir.filePath(chosen), f);
    QCOMPARE(f.prompts.fileRequests().size(), 1);
    QCOMPARE(f.prompts.shown().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(f.prompts.shown().at(0).text, message);
    QCOMPARE(w.fileName(), QString());
    QCOMPARE(w->previewSize(), QSize(20, 10));
    QCOMPARE(w.preview()->pixmap().size(), QSize(20, 10));
    QCOMPARE(f.files(), Names { "12.gif" });
}

void TestPictures::windowOpens_data()
{
    QTest::addColumn<Names>("present");
    QTest::addColumn<QSize>("preview");
    QTest::newRow("no picture") << Names { "13.jpg" } << QSize();
    QTest::newRow("jpg beside gif") << Names { "12.gif", "12.jpg" } << QSize(30, 15);
}

void TestPictures::windowOpens()
{
    QFETCH(Names, present);
    QFETCH(QSize, preview);
    Fixture f;
    for (const QString& name : present)
        QFile::copy(DataDir + (name.endsWith("gif") ? "red.gif" : "green.jpg"), f.pic(name));
    Window w(f);
    QCOMPARE(w->objectName(), QStringLiteral("frmReceptBild"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Bild"));
    QCOMPARE(w->palette().color(QPalette::Window), colourFromValue(14805231));
    QCOMPARE(w.button(3)->isVisible(), preview.isValid());
    QCOMPARE(w.preview()->pixmap().size(), preview.isValid() ? preview : QSize(0, 0));
}

void TestPictures::removeButton_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Ja") << true;
    QTest::newRow("Nej") << false;
}

void TestPictures::removeButton()
{
    QFETCH(bool, yes);
    Fixture f;
    QFile::copy(DataDir + "blue.bmp", f.pic("12.bmp"));
    Window w(f);
    QSignalSpy changed(w.w.data(), &FrmReceptBild::pictureChanged);
    QSignalSpy closed(w.w.data(), &FrmReceptBild::closed);
    f.prompts.queueAnswer(yes ? Prompts::Answer::Yes : Prompts::Answer::No);
    w.button(3)->click();
    QCOMPARE(f.prompts.shown().size(), 1);
    QCOMPARE(f.prompts.shown().at(0).text, QStringLiteral("Vill du ta bort bilden?"));
    QCOMPARE(f.prompts.shown().at(0).title, QStringLiteral("Ta bort bild"));
    QCOMPARE(QFileInfo::exists(f.pic("12.bmp")), !yes);
    QCOMPARE(w.button(3)->isVisible(), !yes);
    QCOMPARE(w.preview()->pixmap().isNull(), yes);
    QCOMPARE(changed.size(), yes ? 1 : 0);
    QCOMPARE(closed.size(), 0);
}

void TestPictures::okButton_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Names>("after");
    QTest::addColumn<bool>("closes");
    QTest::newRow("no file chosen") << "empty" << Names { "13.gif" } << true;
    QTest::newRow("list moved meanwhile") << "moved" << Names { "13.bmp" } << true;
    QTest::newRow("copy fails") << "fails" << Names { "13.bmp", "13.gif" } << false;
    QTest::newRow("chosen file gone") << "gone" << Names { "13.gif" } << false;
}

void TestPictures::okButton()
{
    QFETCH(QString, kind);
    QFETCH(Names, after);
    QFETCH(bool, closes);
    Fixture f;
    f.write(f.pic("13.gif"), "old");
    Window w(f);
    QSignalSpy changed(w.w.data(), &FrmReceptBild::pictureChanged);
    QSignalSpy closed(w.w.data(), &FrmReceptBild::closed);
    const QString source = f.dir.filePath("Ny.bmp");
    QFile::copy(DataDir + "blue.bmp", source);
    if (kind != "empty")
        w.open(source, f);
    f.rid = 13;
    if (kind == "fails")
        QVERIFY(QDir().mkpath(f.pic("13.bmp/inne")));
    if (kind == "gone")
        QFile::remove(source);
    w.button(2)->click();

    QCOMPARE(f.files(), after);
    QCOMPARE(closed.size(), closes ? 1 : 0);
    QCOMPARE(changed.size(), kind == "moved" ? 1 : 0);
    QCOMPARE(f.prompts.shown().size(), kind == "fails" ? 1 : 0);
    if (kind == "moved") {
        QCOMPARE(changed.at(0).at(0).toInt(), 13);
        QCOMPARE(fileBytes(f.pic("13.bmp")), fileBytes(source));
    } else if (kind == "fails") {
        QCOMPARE(f.prompts.shown().at(0).icon, Prompts::Icon::Warning);
        QCOMPARE(w.fileName(), source);
        QCOMPARE(fileBytes(f.pic("13.gif")), QByteArray("old"));
    }
}

void TestPictures::about()
{
    Fixture f;
    f.ctx.programTitle = QStringLiteral("KROX Gastrid 2.1");
    QPointer<FrmAbout> a = new FrmAbout(f.ctx);
    a->show();
    QCOMPARE(a->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(a->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("KROX Gastrid 2.1"));
    QVERIFY(!a->findChild<QLabel*>("picIcon")->pixmap().isNull());
    QSignalSpy closed(a.data(), &FrmAbout::closed);
    a->findChild<QPushButton*>("cmdOK")->click();
    QCOMPARE(closed.size(), 1);
    QTRY_VERIFY(a.isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
