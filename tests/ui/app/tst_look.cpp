// What a new user reads: every caption whole in its control.
#include "support/TestSupport.h"
#include "ui/app/Colours.h"
#include "ui/app/Look.h"
#include "ui/app/Prompts.h"
#include "ui/mainwindow/MainLayout.h"
#include "ui/search/FrmSeekProgress.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOption>

using namespace Qt::StringLiterals;

namespace {

QString shown(QString text)
{
    return text.remove(QRegularExpression(u"&(?!&)"_s));
}

// Captions wider or taller than the room the style gives them.
QStringList cutOff(QWidget* window)
{
    QStringList out;
    const auto check = [&](QWidget* w, QFont font, const QString& text, QSize room) {
        const QSize need = QFontMetrics(font).size(0, shown(text));
        if (need.width() > room.width() || need.height() > room.height())
            out << w->objectName() + u": "_s + text;
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap()) {
            if (l->heightForWidth(l->width()) > l->height())
                out << l->objectName() + u": "_s + l->text();
        } else if (l) {
            check(l, l->font(), l->text(), l->contentsRect().size());
        } else if (auto* b = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton o;
            o.initFrom(b);
            const QSize room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b).size();
            // This program's buttons turn bold to mark something.
            QFont bold = b->font();
            bold.setBold(true);
            check(b, bold, b->text(), room);
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox o;
            o.initFrom(c);
            const QRect room
                = c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c);
            for (int i = 0; i < c->count(); ++i)
                check(c, c->font(), c->itemText(i), room.size());
        }
    }
    return out;
}

} // namespace

class TestLook : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;

private slots:
    void initTestCase()
    {
        Colours::installStyle();
        Look::install();
        QVERIFY(t.makeCookbook(u"INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor och småkakor');"
                               "INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (1, 'Kladdkaka', 1);"_s));
        p = t.start();
        QVERIFY(p->ok);
    }
    void cleanupTestCase() { p->window->ExitProgram(); }

    // Every window at its designed size; the main window also as a new recipe
    // is typed, when other buttons show.
    void captionsFit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("command");
        QTest::newRow("main window") << u"frmMain"_s << -1;
        QTest::newRow("new recipe") << u"frmMain"_s << index(Cmd::NyttRecept);
        QTest::newRow("about") << u"frmAbout"_s << -1;
        QTest::newRow("search progress") << u"frmSeekProgress"_s << -1;
        QTest::newRow("picture") << u"frmReceptBild"_s << index(Cmd::Bild);
        QTest::newRow("guide") << u"frmGuide"_s << index(Cmd::Halsoguide);
        QTest::newRow("categories") << u"frmKategorier"_s << index(Cmd::Kategorier);
        QTest::newRow("print") << u"frmPrint"_s << index(Cmd::SkrivUt);
        QTest::newRow("weekly menu") << u"frmMatsedel"_s << index(Cmd::Matsedel);
        QTest::newRow("colours") << u"frmAnpassa"_s << index(Cmd::Anpassa);
        QTest::newRow("update") << u"frmUppdatera"_s << index(Cmd::Uppdatera);
    }
    void captionsFit()
    {
        QFETCH(QString, name);
        QFETCH(int, command);
        FrmMain* main = p->window.get();
        main->resize(MainLayout::DesignedSize);
        QTRY_COMPARE(main->size(), MainLayout::DesignedSize);
        main->findChild<QListView*>(u"lstRecept"_s)->selectAll();
        if (command >= 0)
            main->button(Cmd(command))->click();
        else if (name == "frmAbout"_L1)
            main->findChild<QPushButton*>(u"cmdKrox_0"_s)->click();
        else if (name == "frmSeekProgress"_L1)
            (new FrmSeekProgress(p->ctx->state(), main))->setObjectName(name);
        QWidget* window = name == "frmMain"_L1 ? main : main->findChild<QWidget*>(name);
        QVERIFY(window);
        const QStringList cut = cutOff(window);
        if (window != main && window->close() && !window->testAttribute(Qt::WA_DeleteOnClose))
            window->deleteLater();
        if (main->nyttReceptMode())
            main->EndNyttRecept();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u"; "_s)));
    }

    // A list row holds the dots and rings of capital Å, Ä and Ö.
    void listRowsHoldSwedishCapitals()
    {
        auto* list = p->window->findChild<QListView*>(u"lstRecept"_s);
        const QRect row = list->visualRect(list->model()->index(0, 0));
        const QRect ink = QFontMetrics(list->font()).boundingRect(u"ÅÄÖ"_s);
        QVERIFY2(
            row.height() >= ink.height() + 2, qPrintable(u"%1 %2"_s.arg(row.height()).arg(ink.height())));
    }

    // The file dialogs name the file type as the program words it, patterns included.
    void fileTypeShown_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fridge") << u"Kylskåp (*.kyl)|*.kyl"_s << u"Kylskåp (*.kyl)"_s;
        QTest::newRow("pictures") << u"Bilder (*.jpg;*.gif;*.bmp)|*.jpg;*.gif;*.bmp"_s
                                  << u"Bilder (*.jpg;*.gif;*.bmp)"_s;
    }
    void fileTypeShown()
    {
        QFETCH(QString, filter);
        QFETCH(QString, shown);
        QFileDialog dlg(nullptr, u"t"_s, QDir::tempPath(), Prompts::toQtFilter(filter));
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        dlg.setOption(QFileDialog::HideNameFilterDetails);
        auto* types = dlg.findChild<QComboBox*>(u"fileTypeCombo"_s);
        QVERIFY(types);
        QCOMPARE(types->itemText(0), shown);
    }
};

QTEST_MAIN(TestLook)
#include "tst_look.moc"
