#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/db/Database.h"
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
class ReceptDownload : public QObject {
    Q_OBJECT
public:
    // The category for a web recipe whose category the cookbook lacks; nothing skips the recipe.
    using CategoryChooser = std::function<std::optional<qint32>(
        const WebRecipe& recipe, const QList<Catalogue::Category>& all)>;
    // A fetched image as JPEG, GIF or BMP bytes with their extension; nothing when it is no image.
    using PictureConverter
        = std::function<std::optional<std::pair<QByteArray, QString>>(const QByteArray& bytes)>;

    ReceptDownload(
        Database& db, QNetworkAccessManager& nam, const QString& programFolder, QObject* parent = nullptr);

    void setCategoryChooser(CategoryChooser chooser) { m_chooseCategory = std::move(chooser); }
    void setPictureConverter(PictureConverter converter) { m_convertPicture = std::move(converter); }

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
    FetchUrl m_fetch;
};
