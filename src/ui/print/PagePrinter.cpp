#include "ui/print/PagePrinter.h"

#include "core/print/PrintPage.h"
#include "ui/app/AppContext.h"
#include "ui/print/PageView.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageSetupDialog>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

namespace PagePrinter {

namespace {

// The size a picture has on the page before any fitting: what the page gave
// it, else its own.
constexpr int OwnSize = QTextFormat::UserProperty + 1;

// Document units per inch when laid out for a screen, as the text layout counts.
qreal sourceDpi()
{
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return qRound(screen->logicalDotsPerInchX());
    return 100;
}

QImage pictureOf(const QTextDocument* doc, const QString& name)
{
    const QVariant r = doc->resource(QTextDocument::ImageResource, QUrl(name));
    if (r.userType() == QMetaType::QImage)
        return r.value<QImage>();
    if (r.userType() == QMetaType::QPixmap)
        return r.value<QPixmap>().toImage();
    if (r.userType() == QMetaType::QByteArray)
        return QImage::fromData(r.toByteArray());
    return {};
}

QSizeF ownSize(const QTextDocument* doc, const QTextImageFormat& f)
{
    const bool w = f.hasProperty(QTextFormat::ImageWidth);
    const bool h = f.hasProperty(QTextFormat::ImageHeight);
    if (w && h)
        return { f.width(), f.height() };
    const QImage image = pictureOf(doc, f.name());
    if (image.isNull())
        return {};
    const QSizeF natural = image.size();
    if (w)
        return { f.width(), f.width() * natural.height() / natural.width() };
    if (h)
        return { f.height() * natural.width() / natural.height(), f.height() };
    return natural;
}

template <typename F> void forEachPicture(const QTextDocument* doc, F&& f)
{
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.isValid() && frag.charFormat().isImageFormat())
                f(frag);
        }
    }
}

QString target(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QDir::toNativeSeparators(printer.outputFileName());
    return printer.printerName();
}

void applyChoices(const PrintChoices& c, QPrinter& printer, bool withFile)
{
    if (!c.printerName.isEmpty())
        printer.setPrinterName(c.printerName);
    if (withFile && !c.outputFileName.isEmpty())
        printer.setOutputFileName(c.outputFileName);
    if (c.pageLayout)
        printer.setPageLayout(*c.pageLayout);
}

void keepChoices(PrintChoices& c, const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        c.outputFileName = printer.outputFileName();
    } else {
        c.outputFileName.clear();
        c.printerName = printer.printerName();
    }
    c.pageLayout = printer.pageLayout();
}

// A copy of a page has no view to ask for what it names; without this it
// would read any file it names, whole.
class ResourceGuard : public QObject {
    Q_OBJECT
public:
    explicit ResourceGuard(QUrl page)
        : m_page(std::move(page))
    {
    }
    Q_INVOKABLE QVariant loadResource(int type, const QUrl& name)
    {
        return PageView::boundedResource(type, m_page, name);
    }

private:
    QUrl m_page;
};

QUrl pageUrl(const QTextDocument& page)
{
    const QUrl base = page.baseUrl();
    if (base.isLocalFile())
        return base;
    return QUrl(page.metaInformation(QTextDocument::DocumentUrl));
}

} // namespace

void fitPictures(QTextDocument* doc, const QSizeF& max)
{
    struct Change {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Change> changes;
    const qreal maxWidth = qMax<qreal>(max.width(), 16);
    forEachPicture(doc, [&](const QTextFragment& frag) {
        QTextImageFormat f = frag.charFormat().toImageFormat();
        QSizeF own = f.property(OwnSize).toSizeF();
        if (!own.isValid()) {
            own = ownSize(doc, f);
            if (own.isEmpty())
                return;
            f.setProperty(OwnSize, own);
        }
        qreal scale = 1;
        if (own.width() > maxWidth)
            scale = maxWidth / own.width();
        if (max.height() > 0 && own.height() * scale > max.height())
            scale = max.height() / own.height();
        const QSizeF want = own * scale;
        if (f.hasProperty(QTextFormat::ImageWidth) && qFuzzyCompare(f.width(), want.width())
            && f.hasProperty(QTextFormat::ImageHeight) && qFuzzyCompare(f.height(), want.height())
            && frag.charFormat().hasProperty(OwnSize))
            return;
        f.setWidth(want.width());
        f.setHeight(want.height());
        changes.append({ frag.position(), frag.length(), f });
    });
    for (const Change& c : std::as_const(changes)) {
        QTextCursor cursor(doc);
        cursor.setPosition(c.position);
        cursor.setPosition(c.position + c.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(c.format);
    }
}

QString printOn(QPrinter& printer, const QTextDocument& page)
{
    ResourceGuard guard(pageUrl(page));
    std::unique_ptr<QTextDocument> doc(page.clone(&guard));
    // The pictures the view has read come along; the copy has no view to ask.
    forEachPicture(&page, [&](const QTextFragment& frag) {
        const QString name = frag.charFormat().toImageFormat().name();
        const QImage image = pictureOf(&page, name);
        if (!image.isNull())
            doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    });
    // The page inside the 2 cm margins that printing keeps, in document units.
    const qreal dpi = sourceDpi();
    const qreal margin = 2 * int((2 / 2.54) * dpi) + CellAllowance;
    const QSizeF room(printer.width() * dpi / printer.logicalDpiX() - margin,
        printer.height() * dpi / printer.logicalDpiY() - margin - CellAllowance);
    // A picture takes at most a third of the page's height, leaving the text the room.
    fitPictures(doc.get(), QSizeF(room.width(), room.height() / 3).expandedTo(QSizeF(16, 16)));
    // The view's font is a screen font; on paper text is read at arm's length.
    QFont font = doc->defaultFont();
    if (font.pointSizeF() < PrintedPointSize) {
        font.setPointSizeF(PrintedPointSize);
        doc->setDefaultFont(font);
    }
    doc->print(&printer);
    if (printer.printerState() == QPrinter::Error)
        return QStringLiteral("Utskriften till %1 misslyckades.").arg(target(printer));
    return {};
}

Outcome printPage(AppContext& ctx, QWidget* parent, const QTextDocument& page)
{
    return printPage(ctx.prompts(), ctx.state(), parent, page);
}

Outcome printPage(Prompts& prompts, RunState& state, QWidget* parent, const QTextDocument& page)
{
    QPrinter printer(QPrinter::HighResolution);
    PrintChoices choices = state.printChoices();
    applyChoices(choices, printer, true);
    // The print job, and the PDF file the dialog proposes, carry the page's title:
    // after a PDF, in that PDF's folder.
    const QString title = page.metaInformation(QTextDocument::DocumentTitle).simplified();
    printer.setDocName(title);
    if (!choices.outputFileName.isEmpty())
        printer.setOutputFileName(PrintPage::pdfFileName(choices.outputFileName, title));
    if (prompts.isScripted()) {
        const QString pdf = prompts.takePrintTarget();
        if (pdf.isEmpty())
            return Outcome::Cancelled;
        printer.setOutputFileName(pdf);
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Skriv ut"));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        if (dialog.exec() != QDialog::Accepted)
            return Outcome::Cancelled;
    }
    keepChoices(choices, printer);
    state.setPrintChoices(choices);
    const QString error = printOn(printer, page);
    if (error.isEmpty())
        return Outcome::Printed;
    prompts.message(parent, error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return Outcome::Failed;
}

void pageSetup(AppContext& ctx, QWidget* parent)
{
    pageSetup(ctx.prompts(), ctx.state(), parent);
}

void pageSetup(Prompts& prompts, RunState& state, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    applyChoices(state.printChoices(), printer, false);
    if (prompts.isScripted()) {
        const std::optional<QPageLayout> layout = prompts.takePageLayout();
        if (!layout)
            return;
        printer.setPageLayout(*layout);
    } else {
        QPageSetupDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Utskriftsformat"));
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    PrintChoices choices = state.printChoices();
    choices.pageLayout = printer.pageLayout();
    state.setPrintChoices(choices);
}

} // namespace PagePrinter

#include "PagePrinter.moc"
