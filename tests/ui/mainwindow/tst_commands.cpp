// The main window's commands: messages for missing marks, pictures, about and help.
#include "support/TestSupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace {

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor');
INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (12, 'Kladdkaka', 1);
INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (13, 'Äppelkaka', 1);
)SQL";

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

QWidget* topLevel(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;
    QPushButton* button(int i)
    {
        return p->window->findChild<QPushButton*>(QStringLiteral("cmdButton_%1").arg(i));
    }
    QListView* list() { return p->window->findChild<QListView*>(QStringLiteral("lstRecept")); }
    void clickRow(int row)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
            list()->visualRect(list()->model()->index(row, 0)).center());
    }
    void makePicture(const QString& name, const char* format)
    {
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(name, format));
    }

private slots:
    void init()
    {
        QVERIFY(t.makeCookbook(QString::fromUtf8(Cookbook)));
        t.prompts.clearShown();
        p = t.start();
        QVERIFY(p->ok);
    }
    void cleanup()
    {
        if (p->window)
            p->window->ExitProgram();
        p.reset();
    }

    void commandsNeedAMarkedRecipe_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("Skriv ut") << 4;
        QTest::newRow("Bild") << 21;
    }
    void commandsNeedAMarkedRecipe()
    {
        QFETCH(int, index);
        list()->clearSelection();
        QCOMPARE(p->window->markedCount(), 0);
        const int before = int(QApplication::topLevelWidgets().size());
        QTest::mouseClick(button(index), Qt::LeftButton);
        QCOMPARE(t.prompts.shown().size(), 1);
        QCOMPARE(t.prompts.shown().at(0).text, QStringLiteral("Markera ett recept först."));
        QCOMPARE(int(QApplication::topLevelWidgets().size()), before);
        QVERIFY(p->window->activeWindowName().isEmpty());
    }

    void pictureThroughTheMainWindow()
    {
        clickRow(0);
        QCOMPARE(p->window->currentRid(), 12);
        QVERIFY(!button(21)->font().bold());
        const QString chosen = t.path(QStringLiteral("semester.2024.JPG"));
        makePicture(chosen, "JPG");
        QTest::mouseClick(button(21), Qt::LeftButton);
        QWidget* w = topLevel("frmReceptBild");
        QVERIFY(w);
        QCOMPARE(p->window->activeWindowName(), QStringLiteral("frmReceptBild"));
        QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("cmdButton_3"))->isVisible());
        t.prompts.queueFileName(chosen);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdButton_0")), Qt::LeftButton);
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdButton_2")), Qt::LeftButton);
        QTRY_VERIFY(!topLevel("frmReceptBild"));
        QTRY_VERIFY(p->window->activeWindowName().isEmpty());
        QVERIFY(QFile::exists(t.path(QStringLiteral("bilder/12.jpg"))));
        QVERIFY(button(21)->font().bold());
        // Bold follows the shown recipe.
        clickRow(1);
        QVERIFY(!button(21)->font().bold());
        clickRow(0);
        QVERIFY(button(21)->font().bold());
    }

    void aboutWindow()
    {
        QTest::mouseClick(p->window->findChild<QPushButton*>(QStringLiteral("cmdKrox_0")), Qt::LeftButton);
        QWidget* about = topLevel("frmAbout");
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("Om KROX Gastrid"));
        QCOMPARE(p->window->activeWindowName(), QStringLiteral("frmAbout"));
        // The command again brings the open one forward.
        QTest::mouseClick(p->window->findChild<QPushButton*>(QStringLiteral("cmdKrox_0")), Qt::LeftButton);
        const QWidgetList all = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(all.begin(), all.end(),
                     [](QWidget* w) { return w->objectName() == "frmAbout" && w->isVisible(); }),
            1);
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QTRY_VERIFY(!topLevel("frmAbout"));
        QTRY_VERIFY(p->window->activeWindowName().isEmpty());
    }

    void secondaryWindowsStayOpenTogether()
    {
        QTest::mouseClick(p->window->findChild<QPushButton*>(QStringLiteral("cmdKrox_0")), Qt::LeftButton);
        clickRow(0);
        QTest::mouseClick(button(21), Qt::LeftButton);
        QVERIFY(topLevel("frmAbout"));
        QWidget* picture = topLevel("frmReceptBild");
        QVERIFY(picture);
        QCOMPARE(p->window->activeWindowName(), QStringLiteral("frmReceptBild"));
        picture->close();
        QTRY_COMPARE(p->window->activeWindowName(), QStringLiteral("frmAbout"));
        topLevel("frmAbout")->close();
        QTRY_VERIFY(p->window->activeWindowName().isEmpty());
        // The main window torn down with windows still open takes them along.
        QTest::mouseClick(p->window->findChild<QPushButton*>(QStringLiteral("cmdKrox_0")), Qt::LeftButton);
        QTest::mouseClick(button(21), Qt::LeftButton);
        QVERIFY(topLevel("frmAbout") && topLevel("frmReceptBild"));
        p->window.reset();
        QVERIFY(!topLevel("frmAbout") && !topLevel("frmReceptBild"));
    }

    // The manual speaks only of commands a user can reach.
    void manualSkipsHiddenCommands()
    {
        QFile manual(QStringLiteral(GASTRID_TEST_DATA "/../../data/Manual/Default.htm"));
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(manual.readAll());
        int hidden = 0;
        for (auto* b : p->window->findChildren<QPushButton*>()) {
            const QString caption = b->text().remove(QLatin1Char('&'));
            if (caption == QStringLiteral("Hälsoguide") && !b->isVisible()) {
                ++hidden;
                QVERIFY2(!text.contains(caption), qPrintable(caption));
            }
        }
        QCOMPARE(hidden, 1);
    }

    void helpOpensTheManual()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        QTest::mouseClick(p->window->findChild<QPushButton*>(QStringLiteral("cmdKrox_1")), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.at(0).toLocalFile(),
            QDir(t.folder()).absoluteFilePath(QStringLiteral("Manual/Default.htm")));
    }

    // Where nothing can show the page (the test platform starts no browser),
    // the user is told where the manual is.
    void helpWithoutABrowserNamesTheManual()
    {
        QTest::mouseClick(p->window->findChild<QPushButton*>(QStringLiteral("cmdKrox_1")), Qt::LeftButton);
        QCOMPARE(t.prompts.shown().size(), 1);
        QVERIFY(t.prompts.shown().at(0).text.startsWith(QStringLiteral("Hjälpen kunde inte visas")));
        QVERIFY(t.prompts.shown().at(0).text.endsWith(QDir::toNativeSeparators(
            QDir(t.folder()).absoluteFilePath(QStringLiteral("Manual/Default.htm")))));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
