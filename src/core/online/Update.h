#pragma once

#include "core/online/FetchUrl.h"
#include "core/online/UpdateInfo.h"

#include <QFileDevice>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

// CheckForUpdate: fetches the update description into update.txt and tells
// whether it offers a newer installer.
class UpdateCheck : public QObject {
    Q_OBJECT
public:
    UpdateCheck(QNetworkAccessManager& nam, const QString& programFolder, QObject* parent = nullptr);
    void CheckForUpdate(const QUrl& base, int ownVersion = UpdateInfo::GetVersionNumber());
    void cancel() { m_fetch.cancel(); }
    FetchUrl& fetch() { return m_fetch; }

signals:
    void offered(const UpdateInfo::Offer& offer);
    // No newer version, or no usable description (nothing is said to the user).
    void nothingOffered();

private:
    void fetched();

    QString m_folder;
    int m_ownVersion = 0;
    FetchUrl m_fetch;
};

// DownloadUpdate: streams the offered installer into the program folder,
// with its progress in blocks; cancelling removes the partial file and
// update.txt.
class InstallerDownload : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Complete, Cancelled, Failed, BadDigest };

    InstallerDownload(QNetworkAccessManager& nam, const QString& programFolder, QObject* parent = nullptr);
    void DownloadUpdate(const QUrl& base, const UpdateInfo::Offer& offer);
    void cancel();
    bool isRunning() const { return m_fetch.isRunning(); }
    QString installerPath() const;
    FetchUrl& fetch() { return m_fetch; }

signals:
    void blocksShown(int count);
    void finished(InstallerDownload::Outcome outcome);

private:
    void fetched();

    QString m_folder;
    UpdateInfo::Offer m_offer;
    UpdateInfo::ProgressBlocks m_blocks { 0 };
    FetchUrl m_fetch;
};

// Makes the installer executable and starts it on its own, in the program
// folder; false when it could not be started.
// The installer is made executable for whoever may read it.
QFileDevice::Permissions withExecute(QFileDevice::Permissions p);
bool startInstaller(const QString& path, const QString& programFolder);
