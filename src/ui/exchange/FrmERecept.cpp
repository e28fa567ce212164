#include "ui/exchange/FrmERecept.h"
#include "core/app/ProgramPaths.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/exchange/MailMessage.h"
#include "core/exchange/MailPassword.h"
#include "ui/app/Colours.h"
#include "ui/exchange/FrmAdressBok.h"
#include "ui/exchange/FrmEReceptInfo.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr int FieldLeft = 92;
constexpr int MessageTop = 104;
} // namespace

const FrmERecept::Kind FrmERecept::ERecept = { u"frmERecept", u"E-Recept", u"E-Recept ej skickat",
    u"E-Recept skickat", u"E-Recept skickat till %1." };
const FrmERecept::Kind FrmERecept::Inkopslista = { u"frmSkickaInkopslista", u"Skicka inköpslista",
    u"Inköpslistan ej skickad", u"Inköpslistan skickad", u"Inköpslistan skickad till %1." };

FrmERecept::FrmERecept(Prompts& prompts, const ProgramPaths& paths, RunState& state,
    const MailSettings& settings, std::function<void(QWidget*)> openWindow, QWidget* parent)
    : FrmERecept(prompts, paths, state, settings, std::move(openWindow), ERecept, parent)
{
}

FrmERecept::FrmERecept(Prompts& prompts, const ProgramPaths& paths, RunState& state,
    const MailSettings& settings, std::function<void(QWidget*)> openWindow, const Kind& kind, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_kind(kind)
    , m_settings(settings)
    , m_openWindow(std::move(openWindow))
    , m_keyringTimeoutMs(MailPassword::DefaultTimeoutMs)
{
    setObjectName(QString::fromUtf16(m_kind.objectName));
    setWindowTitle(QString::fromUtf16(m_kind.title));
    setAttribute(Qt::WA_DeleteOnClose);

    const char* const captions[CmdCount] = { "&Till", "&Skicka", "&Inställningar" };
    for (int i = 0; i < CmdCount; ++i) {
        cmdButton[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        cmdButton[i]->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(Cmd(i)); });
    }
    button(Cmd::Skicka)->setGeometry(8, 8, 96, 28);
    button(Cmd::Installningar)->setGeometry(110, 8, 120, 28);
    button(Cmd::Till)->setGeometry(8, 44, FieldLeft - 16, 26);
    txtMottagare = new QLineEdit(this);
    txtMottagare->setObjectName(QStringLiteral("txtMottagare"));
    lblRubrik = new QLabel(QStringLiteral("Rubrik:"), this);
    lblRubrik->setObjectName(QStringLiteral("lblRubrik"));
    lblRubrik->setGeometry(12, 74, FieldLeft - 16, 24);
    txtSubject = new QLineEdit(this);
    txtSubject->setObjectName(QStringLiteral("txtSubject"));
    lblRubrik->setBuddy(txtSubject);
    txtMessage = new QPlainTextEdit(this);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    // The e-recipe is wrapped for a fixed-width reading, as mail shows it.
    txtMessage->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lblStatus = new QLabel(QString::fromUtf16(m_kind.notSent), this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));

    setTabOrder(txtMottagare, txtSubject);
    setTabOrder(txtSubject, txtMessage);
    setTabOrder(txtMessage, button(Cmd::Skicka));
    setTabOrder(button(Cmd::Skicka), button(Cmd::Installningar));
    setTabOrder(button(Cmd::Installningar), button(Cmd::Till));

    connect(&m_client, &SmtpClient::statusChanged, lblStatus, &QLabel::setText);
    connect(&m_client, &SmtpClient::finished, this, &FrmERecept::transferFinished);
    connect(&m_client, &SmtpClient::loginRefused, this, [this] {
        m_state.forgetMailPassword(MailPassword::account(m_settings.userName, m_settings.smtpServer));
    });

    setMinimumSize(420, 260);
    resize(sizeHint());
    Colours::apply(m_state, this);
}

void FrmERecept::setMessage(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtMessage->setPlainText(t);
}

void FrmERecept::setSubject(const QString& subject)
{
    txtSubject->setText(subject);
}

void FrmERecept::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    layoutControls();
}

void FrmERecept::layoutControls()
{
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0)
        return;
    txtMottagare->setGeometry(FieldLeft, 44, w - (FieldLeft + 9), 26);
    txtSubject->setGeometry(FieldLeft, 74, w - (FieldLeft + 9), 26);
    lblStatus->setGeometry(8, h - 20, w - 15, 18);
    txtMessage->setGeometry(8, MessageTop, w - 15, lblStatus->y() - (MessageTop + 5));
}

void FrmERecept::cmdButton_Click(Cmd c)
{
    switch (c) {
    case Cmd::Till:
        openAddressBook();
        break;
    case Cmd::Skicka:
        Skicka();
        break;
    case Cmd::Installningar:
        openSettings();
        break;
    }
}

void FrmERecept::openAddressBook()
{
    txtMottagare->clear();
    m_picked.clear();
    // A closed one may still wait for its deletion.
    if (m_adressBok && m_adressBok->isVisible()) {
        m_adressBok->raise();
        m_adressBok->activateWindow();
        return;
    }
    m_adressBok = new FrmAdressBok(m_prompts, m_paths, m_state, this);
    m_adressBok->move(geometry().center() - m_adressBok->rect().center());
    m_adressBok->show();
    m_adressBok->activateWindow();
}

void FrmERecept::pickRecipients(const QList<AddressBook::Contact>& contacts)
{
    QString line = txtMottagare->text();
    for (const AddressBook::Contact& c : contacts) {
        line += c.mail + QLatin1Char(';');
        m_picked.append({ c.name, c.mail });
    }
    if (line.isEmpty())
        return;
    line.chop(1);
    txtMottagare->setText(line);
    txtSubject->setFocus();
}

FrmEReceptInfo* FrmERecept::openSettings()
{
    if (m_info && m_info->isVisible()) {
        m_info->raise();
        m_info->activateWindow();
        return m_info;
    }
    // The file is read again: it may have been saved since this window opened.
    if (std::optional<MailSettings> s = MailSettings::read(m_paths.file(QStringLiteral("er.txt"))))
        m_settings = *s;
    m_info = new FrmEReceptInfo(m_prompts, m_paths, m_state, m_settings);
    connect(m_info, &FrmEReceptInfo::saved, this, &FrmERecept::applySettings);
    m_openWindow(m_info);
    return m_info;
}

void FrmERecept::Skicka()
{
    const QList<MailMessage::Mailbox> to = MailMessage::recipients(txtMottagare->text(), m_picked);
    if (to.isEmpty()) {
        m_prompts.message(this, QStringLiteral("Du måste ange minst en mottagare"));
        txtMottagare->setFocus();
        return;
    }
    if (m_settings.smtpServer.isEmpty()) {
        lblStatus->setText(QStringLiteral("Inställningarna saknar utgående e-postserver."));
        return;
    }
    if (m_settings.port() == 0) {
        lblStatus->setText(QStringLiteral("Porten i inställningarna är inget tal från 1 till 65535."));
        return;
    }
    if (m_settings.userName.isEmpty()) {
        startTransfer({});
        return;
    }
    const QString account = MailPassword::account(m_settings.userName, m_settings.smtpServer);
    if (const std::optional<QString> kept = m_state.mailPassword(account)) {
        startTransfer(*kept);
        return;
    }
    button(Cmd::Skicka)->setEnabled(false);
    lblStatus->setText(QStringLiteral("Hämtar lösenordet från nyckelringen"));
    MailPassword::read(
        account, this,
        [this, account](const MailPassword::Answer& a) {
            if (a.outcome == MailPassword::Outcome::Found) {
                startTransfer(a.password);
                return;
            }
            // Asked once; the run keeps it.
            const std::optional<QString> typed
                = m_prompts.password(this, QString::fromUtf16(m_kind.title),
                    QStringLiteral("Lösenord för %1 på %2:").arg(m_settings.userName, m_settings.smtpServer));
            if (!typed) {
                lblStatus->setText(QString::fromUtf16(m_kind.notSent));
                button(Cmd::Skicka)->setEnabled(true);
                return;
            }
            m_state.setMailPassword(account, *typed);
            startTransfer(*typed);
        },
        m_keyringTimeoutMs);
}

void FrmERecept::startTransfer(const QString& password)
{
    const QList<MailMessage::Mailbox> to = MailMessage::recipients(txtMottagare->text(), m_picked);
    MailMessage::Message m;
    m.from = { m_settings.senderName, m_settings.senderMail };
    m.to = to;
    m.subject = txtSubject->text();
    m.text = txtMessage->toPlainText();
    SmtpClient::Job job = SmtpClient::jobFor(m_settings);
    job.password = password;
    for (const MailMessage::Mailbox& r : to)
        job.recipients << r.address;
    job.message = MailMessage::build(m);
    m_sendingTo = job.recipients;
    button(Cmd::Skicka)->setEnabled(false);
    m_client.send(job);
}

void FrmERecept::transferFinished(SmtpClient::Result result)
{
    button(Cmd::Skicka)->setEnabled(true);
    if (result != SmtpClient::Result::Sent)
        return;
    lblStatus->setText(QString::fromUtf16(m_kind.sent));
    // Not from inside the socket's signal: the message waits for the user.
    QMetaObject::invokeMethod(this, &FrmERecept::reportSent, Qt::QueuedConnection);
}

void FrmERecept::reportSent()
{
    if (!isVisible())
        return;
    m_prompts.message(this,
        QString::fromUtf16(m_kind.sentTo).arg(m_sendingTo.join(QStringLiteral(", "))), Prompts::Buttons::Ok,
        Prompts::Icon::Information);
    close();
}

void FrmERecept::closeEvent(QCloseEvent* e)
{
    // Nothing more goes to the server once the window is closing.
    m_client.abort();
    m_picked.clear();
    e->accept();
}
