#pragma once

#include "core/app/ProgramPaths.h"
#include "core/exchange/MailSettings.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QWidget>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The mail settings window: sender, outgoing server and login. Saving writes
// er.txt; the password goes to the keyring (or is kept for the run).
class FrmEReceptInfo : public QWidget {
    Q_OBJECT
public:
    // The boxes start empty when there are no settings yet.
    FrmEReceptInfo(Prompts& prompts, const ProgramPaths& paths, RunState& state,
        const std::optional<MailSettings>& settings, QWidget* parent = nullptr);

signals:
    void saved(const MailSettings& settings);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QVBoxLayout* buildForm();
    QHBoxLayout* buildButtons();
    void OKButton_Click();
    // Stores the typed password, then closes; the window waits for the keyring.
    void storePassword(const MailSettings& s, const QString& password);
    void finishSave(const MailSettings& s);

    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    RunState& m_state;
    QLineEdit* txtNamn = nullptr;
    QLineEdit* txtMail = nullptr;
    QLineEdit* txtSmtp = nullptr;
    QLineEdit* txtPort = nullptr;
    QLineEdit* txtAnvandarnamn = nullptr;
    QLineEdit* txtLosenord = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
