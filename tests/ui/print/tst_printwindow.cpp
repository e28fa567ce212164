// The print window driven through the main window: the page, template
// editing, and printing to PDF files read back with pdftotext.
#include "core/print/PrintTemplate.h"
#include "support/TestSupport.h"
#include "ui/app/DialogTexts.h"
#include "ui/print/FrmPrint.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextBrowser>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor');
INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar)
  VALUES (12, 'Äppelkaka', 1, '4', '45 min', '⅓ dl socker' || char(13,10) || '3 syrliga äpplen',
          'Skiva äpplena. Grädda i ugnen.');
INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (13, 'Ölbröd', 1);
)SQL";

const QByteArray OwnTemplate = "<p>[TITEL]</p>\r\n";

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QSizeF pictureSize(QTextDocument* doc)
{
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
                return { f.width(), f.height() };
            }
    return {};
}

} // namespace

class TestPrintWindow : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;

    QListView* list() { return p->window->findChild<QListView*>(u"lstRecept"_s); }
    FrmPrint* openPrint(int row)
    {
        const QModelIndex index = list()->model()->index(row, 0);
        list()->setCurrentIndex(index);
        list()->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        QTest::mouseClick(p->window->button(Cmd::SkrivUt), Qt::LeftButton);
        return p->window->findChild<FrmPrint*>(u"frmPrint"_s);
    }
    static QPushButton* button(QWidget* w, int i)
    {
        return w->findChild<QPushButton*>(u"cmdButton_%1"_s.arg(i));
    }
    static QTextBrowser* browser(QWidget* w) { return w->findChild<QTextBrowser*>(u"Browser"_s); }
    QString printed(FrmPrint* w, const QString& name)
    {
        const QString pdf = t.path(name);
        t.prompts.queuePrintTarget(pdf);
        QTest::mouseClick(button(w, 0), Qt::LeftButton);
        return QFile::exists(pdf) ? run(u"pdftotext"_s, { u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s }) : QString();
    }

private slots:
    void init()
    {
        QVERIFY(t.makeCookbook(QString::fromUtf8(Cookbook)));
        QFile::remove(t.path(u"print.htm"_s));
        QDir(t.path(u"bilder"_s)).removeRecursively();
        p = t.start();
        QVERIFY(p->ok);
        t.prompts.clearShown();
    }
    void cleanup()
    {
        p->window->ExitProgram();
        p.reset();
    }

    void showsTheRecipeWithItsPicture()
    {
        // Wider than any page, so it must be fitted.
        QImage picture(1600, 1000, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(QDir().mkpath(t.path(u"bilder"_s)));
        QVERIFY(picture.save(t.path(u"bilder/12.jpg"_s)));
        FrmPrint* w = openPrint(0);
        QVERIFY(w);
        QCOMPARE(p->window->activeWindowName(), u"frmPrint"_s);
        QCOMPARE(fileBytes(t.path(u"print.htm"_s)),
            fileBytes(QStringLiteral(GASTRID_TEST_DATA "/print/default_print.htm")));
        const QString text = browser(w)->toPlainText();
        for (const QString& s :
            { u"Äppelkaka"_s, u"Ingredienser"_s, u"⅓ dl socker"_s, u"3 syrliga äpplen"_s })
            QVERIFY2(text.contains(s), qPrintable(text));
        QCOMPARE(browser(w)->document()->metaInformation(QTextDocument::DocumentTitle), u"Äppelkaka"_s);
        const int room = browser(w)->viewport()->width();
        QSizeF shown = pictureSize(browser(w)->document());
        QVERIFY2(shown.width() > 100 && shown.width() < room,
            qPrintable(u"%1 in %2"_s.arg(shown.width()).arg(room)));
        QCOMPARE(qRound(shown.height() * 1.6), qRound(shown.width()));
        w->resize(w->width() - 150, w->height());
        QTRY_VERIFY(browser(w)->viewport()->width() < room);
        QTRY_VERIFY(pictureSize(browser(w)->document()).width() < browser(w)->viewport()->width());
        QVERIFY(pictureSize(browser(w)->document()).width() < shown.width());

        const QString pdf = printed(w, u"kaka.pdf"_s);
        for (const QString& s : { u"Äppelkaka"_s, u"Ingredienser"_s, u"⅓ dl socker"_s, u"Gör så här"_s })
            QVERIFY2(pdf.contains(s), qPrintable(pdf));
        // pdfimages: page num type width height color comp bpc enc interp object ID x-ppi y-ppi ...
        const QStringList images = run(u"pdfimages"_s, { u"-list"_s, t.path(u"kaka.pdf"_s) }).split(u'\n');
        QVERIFY2(images.size() >= 3, qPrintable(images.join(u'\n')));
        const QStringList row = images.at(2).simplified().split(u' ');
        const double inches = row.at(3).toDouble() / row.at(12).toDouble();
        // A4 is 8.27 inches wide; printing keeps 2 cm each side.
        QVERIFY2(inches > 3 && inches < 8.27 - 1.5, qPrintable(images.join(u'\n')));
        // At most a third of the page's 11.69 inches high.
        const double high = row.at(4).toDouble() / row.at(13).toDouble();
        QVERIFY2(high < 11.69 / 3, qPrintable(images.join(u'\n')));
        // Body text is printed at 11 pt or larger: a word's box is about 1.16 times
        // its font's size (10.5 for the 9 pt screen font).
        const QString boxes = run(u"pdftotext"_s, { u"-bbox"_s, t.path(u"kaka.pdf"_s), u"-"_s });
        static const QRegularExpression word(
            u"yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">syrliga<"_s);
        const QRegularExpressionMatch m = word.match(boxes);
        QVERIFY2(m.hasMatch(), qPrintable(boxes));
        const double pt = m.captured(2).toDouble() - m.captured(1).toDouble();
        QVERIFY2(pt >= 12.3, qPrintable(QString::number(pt)));
    }

    // Recipe text is HTML: of the names in it only regular files are read,
    // and a picture no larger than it can be shown.
    void namesOnThePageReadOnlyPictures()
    {
        QVERIFY(::mkfifo(QFile::encodeName(t.path(u"fifo.jpg"_s)).constData(), 0600) == 0);
        QVERIFY(QDir().mkpath(t.path(u"bilder/mapp"_s)));
        QImage big(3000, 1500, QImage::Format_RGB32);
        big.fill(Qt::darkRed);
        QVERIFY(big.save(t.path(u"stor.png"_s)));
        const QString ingredients
            = u"<img src=\"/dev/zero\"><img src=\"fifo.jpg\"><img src=\"bilder/mapp\">"
              "<img src=\"http://127.0.0.1:9/x.png\"><table background=\"/dev/zero\"><tr>"
              "<td background=\"fifo.jpg\">1 dl mjöl</td></tr></table><img src=\"stor.png\">"
              "<link rel=\"stylesheet\" href=\"fifo.jpg\">"_s;
        QVERIFY(p->ctx->db()
                    .execute("UPDATE tblRecept SET Ingredienser = ?1 WHERE RID = 13;", { ingredients })
                    .ok());
        FrmPrint* w = openPrint(1);
        QVERIFY(w);
        QVERIFY2(browser(w)->toPlainText().contains(u"1 dl mjöl"_s), qPrintable(browser(w)->toPlainText()));
        const QVariant shown
            = browser(w)->document()->resource(QTextDocument::ImageResource, QUrl(u"stor.png"_s));
        QCOMPARE(shown.value<QImage>().size(), QSize(2400, 1200));
        const QString pdf = printed(w, u"ölbröd.pdf"_s);
        QVERIFY2(pdf.contains(u"Ölbröd"_s) && pdf.contains(u"1 dl mjöl"_s), qPrintable(pdf));
        QVERIFY(t.prompts.shown().isEmpty());
    }

    // The page for another number of people; the stored recipe stays.
    void portions_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("opensAt");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a number") << u"4"_s << 4 << u"8"_s;
        QTest::newRow("with a word") << u"4 portioner"_s << 4 << u"8 portioner"_s;
        QTest::newRow("about") << u"ca 4"_s << 4 << u"ca 8"_s;
        QTest::newRow("a range takes its first") << u"4-6"_s << 4 << u"8"_s;
        QTest::newRow("no number") << u"några"_s << 0 << u"några"_s;
        QTest::newRow("empty") << QString() << 0 << QString();
    }
    void portions()
    {
        QFETCH(QString, stored);
        QFETCH(int, opensAt);
        QFETCH(QString, shown);
        QVERIFY(
            p->ctx->db().execute("UPDATE tblRecept SET AntalPersoner = ?1 WHERE RID = 12;", { stored }).ok());
        FrmPrint* w = openPrint(0);
        QVERIFY(w);
        auto* box = w->findChild<QSpinBox*>(u"spnPortioner"_s);
        QVERIFY(box && box->isVisible());
        QCOMPARE(w->findChild<QLabel*>(u"lblPortioner"_s)->text(), u"Portioner:"_s);
        QCOMPARE(box->minimum(), 1);
        QCOMPARE(box->maximum(), 99);
        QCOMPARE(box->isEnabled(), opensAt > 0);
        const QString page = browser(w)->toPlainText().simplified();
        QVERIFY2(page.contains(u"Portioner: %1 Tid"_s.arg(stored).simplified()), qPrintable(page));
        if (opensAt == 0)
            return;
        QCOMPARE(box->value(), opensAt);
        box->selectAll();
        QTest::keyClicks(box, u"8"_s);
        QCOMPARE(box->value(), 8);
        const QString scaled = browser(w)->toPlainText().simplified();
        for (const QString& s :
            { u"Portioner: %1 Tid"_s.arg(shown), u"⅔ dl socker"_s, u"6 syrliga äpplen"_s })
            QVERIFY2(scaled.contains(s), qPrintable(scaled));
        const QString pdf = printed(w, u"åtta.pdf"_s).simplified();
        for (const QString& s :
            { u"Portioner: %1 Tid"_s.arg(shown), u"⅔ dl socker"_s, u"6 syrliga äpplen"_s })
            QVERIFY2(pdf.contains(s), qPrintable(pdf));
        // Back at the recipe's own number the page is as stored.
        box->setValue(opensAt);
        QVERIFY(browser(w)->toPlainText().simplified().contains(u"Portioner: %1 Tid"_s.arg(stored)));
        QCOMPARE(p->ctx->db().scalar("SELECT Ingredienser FROM tblRecept WHERE RID = 12;").value().toString(),
            u"⅓ dl socker\r\n3 syrliga äpplen"_s);
        QCOMPARE(
            p->ctx->db().scalar("SELECT AntalPersoner FROM tblRecept WHERE RID = 12;").value().toString(),
            stored);
    }

    void editingStates_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("canPrint");
        QTest::addColumn<QByteArray>("templ");
        QTest::addColumn<QString>("page");
        const QByteArray deflt = fileBytes(QStringLiteral(GASTRID_TEST_DATA "/print/default_print.htm"));
        QTest::newRow("enter editing") << "1"
                                       << "Visa" << true << false << OwnTemplate << "Äppelkaka";
        // The editor holds the whole file and saving adds a line end.
        QTest::newRow("save at once") << "1 1"
                                      << "Redigera" << false << true << OwnTemplate + "\r\n"
                                      << "Äppelkaka";
        QTest::newRow("typing stops printing") << "1 type"
                                               << "Visa" << true << false << OwnTemplate << "Äppelkaka";
        QTest::newRow("typed and cancelled") << "1 type 3"
                                             << "Redigera" << false << true << OwnTemplate << "Äppelkaka";
        QTest::newRow("typed and saved") << "1 type 1"
                                         << "Redigera" << false << true << "<i>Ny </i>" + OwnTemplate + "\r\n"
                                         << "Ny Äppelkaka";
        // A restore is written at once; the view keeps its page until the next build.
        QTest::newRow("restore, cancel") << "1 2 3"
                                         << "Redigera" << false << true << deflt << "Äppelkaka";
        QTest::newRow("restore, show")
            << "1 2 1"
            << "Redigera" << false << true << deflt << "Äppelkaka Portioner: 4 Tid: 45 min";
    }
    void editingStates()
    {
        QFETCH(QString, steps);
        QFETCH(QString, caption);
        QFETCH(bool, editing);
        QFETCH(bool, canPrint);
        QFETCH(QByteArray, templ);
        QFETCH(QString, page);
        QFile f(t.path(u"print.htm"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(OwnTemplate);
        f.close();
        FrmPrint* w = openPrint(0);
        QVERIFY(w);
        auto* editor = w->findChild<QPlainTextEdit*>(u"txtEdit"_s);
        for (const QString& step : steps.split(u' ')) {
            if (step == u"type"_s) {
                editor->moveCursor(QTextCursor::Start);
                QTest::keyClicks(editor, u"<i>Ny </i>"_s);
            } else {
                QTest::mouseClick(button(w, step.toInt()), Qt::LeftButton);
            }
            if (step == u"1"_s && editing)
                QCOMPARE(editor->toPlainText().left(14), u"<p>[TITEL]</p>"_s.left(14));
        }
        QCOMPARE(button(w, 1)->text(), caption);
        QCOMPARE(w->isEditingTemplate(), editing);
        QCOMPARE(button(w, 2)->isVisible(), editing);
        QCOMPARE(button(w, 3)->isVisible(), editing);
        QCOMPARE(w->findChild<QWidget*>(u"picContainer_0"_s)->isVisible(), !editing);
        QCOMPARE(w->findChild<QWidget*>(u"picContainer_1"_s)->isVisible(), editing);
        QCOMPARE(button(w, 0)->isEnabled(), canPrint);
        QCOMPARE(fileBytes(t.path(u"print.htm"_s)), templ);
        QVERIFY2(
            browser(w)->toPlainText().simplified().startsWith(page), qPrintable(browser(w)->toPlainText()));
        QVERIFY(t.prompts.shown().isEmpty());
    }

    void printing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("message");
        QTest::newRow("to a PDF file") << "ut.pdf" << true << "";
        QTest::newRow("dialog cancelled") << "" << false << "";
        QTest::newRow("printer error") << "saknas/ut.pdf" << false << "Utskriften till %1 misslyckades.";
    }
    void printing()
    {
        QFETCH(QString, target);
        QFETCH(bool, written);
        QFETCH(QString, message);
        FrmPrint* w = openPrint(1);
        QVERIFY(w);
        const QString path = target.isEmpty() ? QString() : t.path(target);
        t.prompts.queuePrintTarget(path);
        QTest::mouseClick(button(w, 0), Qt::LeftButton);
        QCOMPARE(t.prompts.printDialogsShown(), 1);
        QCOMPARE(!path.isEmpty() && QFile::exists(path), written);
        if (written)
            QVERIFY(run(u"pdftotext"_s, { path, u"-"_s }).contains(u"Ölbröd"_s));
        QCOMPARE(t.prompts.shown().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(t.prompts.shown().at(0).text, message.arg(QDir::toNativeSeparators(path)));
        QVERIFY(w->isVisible());
    }

    void pageSetupHoldsForTheRun()
    {
        FrmPrint* w = openPrint(0);
        t.prompts.queuePageLayout(
            QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10)));
        QTest::mouseClick(button(w, 5), Qt::LeftButton);
        w->close();
        QTRY_VERIFY(!p->window->findChild<FrmPrint*>(u"frmPrint"_s));
        w = openPrint(1);
        QVERIFY(!printed(w, u"a5.pdf"_s).isEmpty());
        const QString info = run(u"pdfinfo"_s, { t.path(u"a5.pdf"_s) });
        const QString size = info.mid(info.indexOf(u"Page size:"_s)).section(u'\n', 0, 0).simplified();
        QCOMPARE(size, u"Page size: 595 x 420 pts (A5)"_s);
    }

    void printDialogSpeaksSwedish()
    {
        DialogTexts texts;
        QCoreApplication::installTranslator(&texts);
        QPrinter printer;
        QPrintDialog dialog(&printer);
        dialog.show();
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->text() == u"&Alternativ >>"_s)
                b->click();
        QStringList shown;
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            if (auto* l = qobject_cast<QLabel*>(w))
                shown << l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                shown << b->text();
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                shown << g->title();
        }
        QCoreApplication::removeTranslator(&texts);
        for (const QString& english : { u"&Name:"_s, u"P&roperties"_s, u"Copies:"_s, u"Cancel"_s, u"&Print"_s,
                 u"Print range"_s, u"Collate"_s, u"&Options <<"_s })
            QVERIFY2(!shown.contains(english), qPrintable(english));
        for (const QString& swedish : { u"&Namn:"_s, u"Kopior:"_s, u"Avbryt"_s, u"&Skriv ut"_s })
            QVERIFY2(shown.contains(swedish), qPrintable(shown.join(u'|')));
    }

    // The window stays usable and nothing typed is lost.
    void failuresAreTold()
    {
        FrmPrint* w = openPrint(0);
        w->close();
        QTRY_VERIFY(!p->window->findChild<FrmPrint*>(u"frmPrint"_s));
        QVERIFY(p->ctx->db().execute("DELETE FROM tblRecept WHERE RID = 12;").ok());
        t.prompts.clearShown();
        w = openPrint(0);
        QVERIFY(w);
        QCOMPARE(t.prompts.shown().value(0).text, u"Receptet finns inte längre."_s);
        QTest::mouseClick(button(w, 1), Qt::LeftButton);
        QCOMPARE(button(w, 1)->text(), u"Visa"_s);
        QVERIFY(QFile::remove(t.path(u"print.htm"_s)));
        QVERIFY(QDir().mkdir(t.path(u"print.htm"_s)));
        auto* editor = w->findChild<QPlainTextEdit*>(u"txtEdit"_s);
        editor->setPlainText(u"<p>[TITEL] ⅓</p>"_s);
        QTest::mouseClick(button(w, 1), Qt::LeftButton);
        QCOMPARE(t.prompts.shown().size(), 2);
        QVERIFY(t.prompts.shown().at(1).text.startsWith(u"Texten innehåller tecken som inte kan sparas"_s));
        editor->setPlainText(u"<p>[TITEL]</p>"_s);
        QTest::mouseClick(button(w, 1), Qt::LeftButton);
        QCOMPARE(t.prompts.shown().size(), 3);
        QVERIFY(t.prompts.shown().at(2).text.startsWith(u"Utskriftsmallen"_s));
        QCOMPARE(button(w, 1)->text(), u"Visa"_s);
        QCOMPARE(editor->toPlainText(), u"<p>[TITEL]</p>"_s);
        QVERIFY(!button(w, 0)->isEnabled());
    }
};

QTEST_MAIN(TestPrintWindow)
#include "tst_printwindow.moc"
