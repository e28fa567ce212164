#pragma once

#include <QTextBrowser>

class QTextDocument;

// The embedded HTML view of the print and menu windows. Pages are Windows-1252
// files, and are read as such whatever they declare; pictures are fitted to
// the view's width. Nothing but regular files of bounded size is read.
class PageView : public QTextBrowser {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    // Shows the page file, read afresh even when it is the one shown. False
    // when it could not be read; the view is then empty.
    bool showPage(const QString& path);
    // The page last asked for.
    QString pagePath() const { return m_path; }

    // What a page at `page` gets for `name`: a regular local file of bounded
    // size, a picture decoded no larger than it is shown; an empty value for
    // anything else, which is then never read.
    static QVariant boundedResource(int type, const QUrl& page, const QUrl& name);
    // The picture in `bytes`, at most PageResources::MaxPictureSide each way.
    static QImage picture(const QByteArray& bytes);

signals:
    // After every showPage(), once the page is in the view.
    void pageLoaded(bool ok);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void fitToView();

    QString m_path;
    bool m_readFailed = false;
};
