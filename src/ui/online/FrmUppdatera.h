#pragma once

#include "core/online/ReceptDownload.h"
#include "core/online/Update.h"
#include "ui/online/FrmSparaRecept.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class Database;
class Prompts;
class RunState;
struct ProgramPaths;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The update window: recipe codes and web addresses typed one a line are
// downloaded and imported, then the update check runs when its box is
// ticked. Addresses that brought nothing stay in the box for another try.
class FrmUppdatera : public QWidget {
    Q_OBJECT
public:
    explicit FrmUppdatera(Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state,
        QWidget* parent = nullptr);

    // "Ladda ner".
    void DownloadRecept();
    // Asks the desktop to open an address; tells the user when it cannot.
    void OpenWebPage(const QUrl& url);

    FrmSparaRecept* progressWindow() const { return m_progress; }

signals:
    // Recipes were added: the main window shows the newest.
    void receptImported();
    // The description offers a newer installer.
    void updateOffered(const QUrl& base, const UpdateInfo::Offer& offer);

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    void receptDone();
    void closeUnlessKept();
    void setBusy(bool busy);
    void syncChecks();

    Database& m_db;
    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    RunState& m_state;
    QUrl m_base;
    QNetworkAccessManager m_nam;
    ReceptDownload m_recept;
    UpdateCheck m_update;
    QPointer<FrmSparaRecept> m_progress;

    QLabel* Label1 = nullptr;
    QLabel* lblWebbadress = nullptr;
    QPlainTextEdit* txtKoder = nullptr;
    QCheckBox* chkSeekUppgradering = nullptr;
    QCheckBox* chkSeekIngredienser = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdGetCode = nullptr;
    QPushButton* cmdCancel = nullptr;
};
