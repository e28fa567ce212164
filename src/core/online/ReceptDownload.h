#pragma once

#include "core/db/Database.h"
#include "core/online/FetchUrl.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;

// DownloadRecept: fetches the recipe file of each code, one after the other,
// checks its first line and imports it.
class ReceptDownload : public QObject {
    Q_OBJECT
public:
    ReceptDownload(
        Database& db, QNetworkAccessManager& nam, const QString& programFolder, QObject* parent = nullptr);

    // The codes of the text: one a line, spaces removed, empty lines skipped.
    static QStringList codes(const QString& text);

    // Starts with the first code; false when the text holds none.
    bool DownloadRecept(const QUrl& base, const QString& text);
    // No code after the current one is fetched; a fetch under way is dropped.
    void cancel();
    bool isRunning() const { return m_running; }
    bool wasCancelled() const { return m_cancelled; }
    FetchUrl& fetch() { return m_fetch; }

    static QString badCodeMessage();

signals:
    // A sentence for the user about one code or file.
    void message(const QString& text);
    // Recipes were added to the cookbook.
    void imported();
    void finished();

private:
    void next();
    void fetched();

    Database& m_db;
    QString m_folder;
    QUrl m_base;
    QStringList m_lines;
    int m_index = 0;
    bool m_running = false;
    bool m_cancelled = false;
    FetchUrl m_fetch;
};
