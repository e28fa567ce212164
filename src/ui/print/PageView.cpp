#include "ui/print/PageView.h"

#include "core/text/TextFile.h"
#include "ui/print/PagePrinter.h"

#include <QFileInfo>
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
        // Without a charset declaration the view would take the bytes for UTF-8.
        std::optional<QString> text = TextFile::readExact(name.toLocalFile(), nullptr);
        if (!text) {
            m_readFailed = true;
            return QString();
        }
        return *text;
    }
    return QTextBrowser::loadResource(type, name);
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
