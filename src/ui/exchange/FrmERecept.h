#pragma once

#include "core/app/ProgramPaths.h"
#include "core/exchange/AddressBook.h"
#include "core/exchange/MailMessage.h"
#include "core/exchange/MailSettings.h"
#include "core/exchange/SmtpClient.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class FrmAdressBok;
class FrmEReceptInfo;

// The mail window: recipients, subject and the e-recipe text, sent through
// the outgoing server of the mail settings. The window only shows the
// client's progress; closing it ends a transfer without sending more. The
// week's shopping list is mailed through the same window under its own name.
class FrmERecept : public QWidget {
    Q_OBJECT
public:
    // What the window mails, and the words it says so with.
    struct Kind {
        const char16_t* objectName;
        const char16_t* title;
        const char16_t* notSent;
        const char16_t* sent;
        // "%1": the addresses it went to.
        const char16_t* sentTo;
    };
    static const Kind ERecept;
    static const Kind Inkopslista;

    // openWindow shows a window the way the main window shows its own.
    FrmERecept(Prompts& prompts, const ProgramPaths& paths, RunState& state, const MailSettings& settings,
        std::function<void(QWidget*)> openWindow, QWidget* parent = nullptr);
    FrmERecept(Prompts& prompts, const ProgramPaths& paths, RunState& state, const MailSettings& settings,
        std::function<void(QWidget*)> openWindow, const Kind& kind, QWidget* parent = nullptr);

    // The text in CR LF lines, as the e-recipe is built.
    void setMessage(const QString& text);
    void setSubject(const QString& subject);
    // Settings saved meanwhile are used from the next send on.
    void applySettings(const MailSettings& settings) { m_settings = settings; }
    // The address book's choice: addresses after what is typed, names paired.
    void pickRecipients(const QList<AddressBook::Contact>& contacts);
    const QList<MailMessage::Mailbox>& pickedRecipients() const { return m_picked; }
    SmtpClient& client() { return m_client; }
    // How long the keyring may take before the password is asked for.
    void setKeyringTimeout(int ms) { m_keyringTimeoutMs = ms; }
    FrmEReceptInfo* openSettings();
    // Placed by hand, so the window says how large it likes to open.
    QSize sizeHint() const override { return { 620, 480 }; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // The buttons by their index in cmdButton (cmdButton_<index>).
    enum class Cmd : int { Till = 0, Skicka = 1, Installningar = 2 };
    static constexpr int CmdCount = 3;

    QPushButton* button(Cmd c) const { return cmdButton[int(c)]; }
    void cmdButton_Click(Cmd c);
    void openAddressBook();
    void Skicka();
    void startTransfer(const QString& password);
    void transferFinished(SmtpClient::Result result);
    // Says where the e-recipe went, then closes the window.
    void reportSent();
    void layoutControls();

    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    RunState& m_state;
    const Kind& m_kind;
    MailSettings m_settings;
    std::function<void(QWidget*)> m_openWindow;
    SmtpClient m_client;
    int m_keyringTimeoutMs;
    // Chosen in the address book, with their names.
    QList<MailMessage::Mailbox> m_picked;
    // The addresses of the transfer under way.
    QStringList m_sendingTo;
    QPointer<FrmAdressBok> m_adressBok;
    QPointer<FrmEReceptInfo> m_info;

    QLineEdit* txtMottagare = nullptr;
    QLabel* lblRubrik = nullptr;
    QLineEdit* txtSubject = nullptr;
    QPlainTextEdit* txtMessage = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* cmdButton[CmdCount] = {};
};
