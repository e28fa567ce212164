#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/db/Database.h"
#include "core/job/BackgroundJob.h"
#include "core/online/FetchUrl.h"
#include "core/online/WebRecipe.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>
#include <utility>

class QNetworkAccessManager;

// DownloadRecept: works through the lines one after the other. A code
// fetches the recipe file of that code, checks its first line and imports
// it; a web address fetches that page and stores the recipe it describes.
// A page is read on a worker thread, so the window stays responsive and a
// cancel is heard while a large page is read.
class ReceptDownload : public QObject {
    Q_OBJECT
public:
    // The category for a web recipe whose category the cookbook lacks; nothing skips the recipe.
    using CategoryChooser = std::function<std::optional<qint32>(
        const WebRecipe& recipe, const QList<Catalogue::Category>& all)>;
    // A fetched image as JPEG, GIF or BMP bytes with their extension; nothing when it is no image.
    using PictureConverter
        = std::function<std::optional<std::pair<QByteArray, QString>>(const QByteArray& bytes)>;
    // The recipe a fetched page describes. Runs on a worker thread: it must
    // use nothing but its arguments.
    using PageReader = std::function<std::optional<WebRecipe>(const QByteArray& page,
        const QByteArray& contentType, const QUrl& url, const BackgroundJob::Control& control)>;

    ReceptDownload(
        Database& db, QNetworkAccessManager& nam, const QString& programFolder, QObject* parent = nullptr);

    void setCategoryChooser(CategoryChooser chooser) { m_chooseCategory = std::move(chooser); }
    void setPictureConverter(PictureConverter converter) { m_convertPicture = std::move(converter); }
    void setPageReader(PageReader reader) { m_readPage = std::move(reader); }

    // The lines of the text: a web address as typed, a code with its spaces
    // removed; empty lines skipped.
    static QStringList codes(const QString& text);
    static bool isWebAddress(const QString& line);

    // Starts with the first line; false when the text holds none.
    bool DownloadRecept(const QUrl& base, const QString& text);
    // No line after the current one is fetched; a fetch under way is dropped.
    void cancel();
    bool isRunning() const { return m_running; }
    bool wasCancelled() const { return m_cancelled; }
    // The web addresses of the last run that brought no recipe in, as typed.
    const QStringList& failedAddresses() const { return m_failed; }
    FetchUrl& fetch() { return m_fetch; }

    static QString badCodeMessage();
    static constexpr qint64 PageLimit = 5 * 1024 * 1024;
    static constexpr qint64 PictureLimit = 10 * 1024 * 1024;

signals:
    // A sentence for the user about one line.
    void message(const QString& text);
    // Recipes were added to the cookbook.
    void imported();
    void finished();

private:
    enum class Phase { Code, Page, Picture };
    void next();
    void fetched();
    void codeFetched();
    void pageFetched();
    void readPage();
    void pageRead(const std::optional<WebRecipe>& recipe);
    void storeWebRecipe(const WebRecipe& recipe, qint32 kid);
    // Tells why the current web address brought nothing and keeps it.
    void addressFailed(const QString& text);
    void pictureFetched();
    void storePicture();
    std::optional<qint32> categoryFor(const WebRecipe& r);
    void continueLater();

    Database& m_db;
    QString m_folder;
    QUrl m_base;
    QStringList m_lines;
    int m_index = 0;
    Phase m_phase = Phase::Code;
    qint32 m_webRid = 0;
    bool m_running = false;
    bool m_cancelled = false;
    CategoryChooser m_chooseCategory;
    PictureConverter m_convertPicture;
    PageReader m_readPage;
    // The page being read; an abandoned one deletes itself when done.
    BackgroundJob* m_reading = nullptr;
    QStringList m_failed;
    FetchUrl m_fetch;
};
