#include "ui/print/PageView.h"

#include "core/print/PageResources.h"
#include "core/text/TextFile.h"
#include "ui/print/PagePrinter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QResizeEvent>
#include <QScrollBar>

PageView::PageView(QWidget* parent)
    : QTextBrowser(parent)
{
    // A link in a recipe must not lead the view away from the page.
    setOpenLinks(false);
    document()->setUndoRedoEnabled(false);
}

bool PageView::showPage(const QString& path)
{
    m_path = QFileInfo(path).absoluteFilePath();
    m_readFailed = false;
    const QUrl url = QUrl::fromLocalFile(m_path);
    // The same source again would not be read at all.
    if (source() == url)
        reload();
    else
        setSource(url, QTextDocument::HtmlResource);
    if (m_readFailed)
        clear();
    fitToView();
    emit pageLoaded(!m_readFailed);
    return !m_readFailed;
}

QVariant PageView::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
        const std::optional<QByteArray> bytes
            = PageResources::readRegular(name.toLocalFile(), PageResources::MaxPageBytes);
        if (!bytes) {
            m_readFailed = true;
            return QString();
        }
        // Without a charset declaration the view would take the bytes for UTF-8.
        return TextFile::fromWindows1252(*bytes);
    }
    return boundedResource(type, QUrl::fromLocalFile(m_path), name);
}

QVariant PageView::boundedResource(int type, const QUrl& page, const QUrl& name)
{
    // Never an invalid value: the document would then read the file itself, whole.
    const QString path = PageResources::localPath(page, name);
    if (type == QTextDocument::ImageResource) {
        const std::optional<QByteArray> bytes
            = PageResources::readRegular(path, PageResources::MaxPictureBytes);
        return bytes ? picture(*bytes) : QImage();
    }
    const std::optional<QByteArray> bytes = PageResources::readRegular(path, PageResources::MaxPageBytes);
    if (type == QTextDocument::StyleSheetResource)
        return bytes ? TextFile::fromWindows1252(*bytes) : QString();
    return bytes.value_or(QByteArray());
}

QImage PageView::picture(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    // A picture is decoded no larger than it can be shown.
    if (size.isValid() && qMax(size.width(), size.height()) > PageResources::MaxPictureSide) {
        size.scale(PageResources::MaxPictureSide, PageResources::MaxPictureSide, Qt::KeepAspectRatio);
        reader.setScaledSize(size.expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

void PageView::resizeEvent(QResizeEvent* e)
{
    QTextBrowser::resizeEvent(e);
    fitToView();
}

void PageView::fitToView()
{
    // Room for the vertical scroll bar is always left: a picture that made it
    // appear would otherwise no longer fit.
    const qreal margin = 2 * document()->documentMargin() + PagePrinter::CellAllowance;
    const qreal room = width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width() - margin;
    PagePrinter::fitPictures(document(), QSizeF(room, 0));
}
