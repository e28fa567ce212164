#pragma once

#include "core/online/Update.h"

#include <QNetworkAccessManager>
#include <QUrl>
#include <QWidget>

#include <functional>

class Prompts;
class RunState;
struct ProgramPaths;
class QLabel;
class QPushButton;

// Downloads the offered installer with twenty progress blocks, then asks to
// install it; yes starts it and ends the program.
class FrmDownloadUpdate : public QWidget {
    Q_OBJECT
public:
    // exitProgram ends the run, starting the installer once the user may
    // leave; false when the run goes on.
    using ExitProgram = std::function<bool(const std::function<bool()>& startInstaller)>;
    FrmDownloadUpdate(Prompts& prompts, const ProgramPaths& paths, const RunState& state, const QUrl& base,
        const UpdateInfo::Offer& offer, ExitProgram exitProgram, QWidget* parent = nullptr);

    int shownBlocks() const;
    InstallerDownload& download() { return m_download; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void downloaded(InstallerDownload::Outcome outcome);

    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    const RunState& m_state;
    QUrl m_base;
    UpdateInfo::Offer m_offer;
    ExitProgram m_exitProgram;
    QNetworkAccessManager m_nam;
    InstallerDownload m_download;
    bool m_started = false;

    QLabel* lblInfo = nullptr;
    QWidget* shpProgress[UpdateInfo::ProgressBlocks::Count] = {};
    QPushButton* cmdCancel = nullptr;
};
