#include "ui/exchange/FrmEReceptInfo.h"
#include "core/app/ProgramPaths.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/exchange/MailPassword.h"
#include "core/exchange/SmtpClient.h"
#include "ui/app/Colours.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* box(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QLineEdit* buddy)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    return l;
}

} // namespace

FrmEReceptInfo::FrmEReceptInfo(Prompts& prompts, const ProgramPaths& paths, RunState& state,
    const std::optional<MailSettings>& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
{
    setObjectName(QStringLiteral("frmEReceptInfo"));
    setWindowTitle(QStringLiteral("E-Recept - Inställningar"));
    setAttribute(Qt::WA_DeleteOnClose);

    QVBoxLayout* form = buildForm();
    QHBoxLayout* buttons = buildButtons();
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 10, 12, 10);
    main->addLayout(form);
    main->addSpacing(8);
    main->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(400, 0)));

    if (settings) {
        txtNamn->setText(settings->senderName);
        txtMail->setText(settings->senderMail);
        txtSmtp->setText(settings->smtpServer);
        txtPort->setText(settings->smtpPort);
        txtAnvandarnamn->setText(settings->userName);
    } else {
        // What nearly every provider asks for; an empty box would save nothing.
        txtPort->setText(QString::number(SmtpClient::SubmissionPort));
    }
    // A password is never shown again; an empty box keeps the stored one.
    if (settings && !settings->userName.isEmpty())
        txtLosenord->setPlaceholderText(QStringLiteral("(oförändrat)"));
    txtNamn->setFocus();

    Colours::apply(m_state, this);
}

QVBoxLayout* FrmEReceptInfo::buildForm()
{
    txtNamn = box(this, "txtNamn");
    txtMail = box(this, "txtMail");
    txtSmtp = box(this, "txtSmtp");
    txtPort = box(this, "txtPort");
    txtAnvandarnamn = box(this, "txtAnvandarnamn");
    txtLosenord = box(this, "txtLosenord");
    txtLosenord->setEchoMode(QLineEdit::Password);
    txtPort->setMaxLength(5);
    txtPort->setFixedWidth(70);

    auto* form = new QVBoxLayout;
    form->setSpacing(2);
    const auto add = [&](QLabel* l, QLineEdit* e) {
        form->addWidget(l);
        form->addWidget(e);
        form->addSpacing(6);
    };
    add(label(this, "lblNamn", QStringLiteral("Ditt namn"), txtNamn), txtNamn);
    add(label(
            this, "lblMail", QStringLiteral("Din e-mailadress (t.ex. anna.svensson@post.example)"), txtMail),
        txtMail);
    add(label(this, "lblSmtp", QStringLiteral("Utgående e-postserver (SMTP, t.ex. smtp.post.example)"),
            txtSmtp),
        txtSmtp);
    add(label(this, "lblPort", QStringLiteral("Port"), txtPort), txtPort);
    add(label(this, "lblAnvandarnamn", QStringLiteral("Användarnamn"), txtAnvandarnamn), txtAnvandarnamn);
    form->addWidget(label(this, "lblLosenord", QStringLiteral("Lösenord"), txtLosenord));
    form->addWidget(txtLosenord);
    return form;
}

QHBoxLayout* FrmEReceptInfo::buildButtons()
{
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Avbryt"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton* b : { OKButton, CancelButton })
        b->setMinimumWidth(80);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &FrmEReceptInfo::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    return buttons;
}

void FrmEReceptInfo::OKButton_Click()
{
    if (txtNamn->text().isEmpty() || txtPort->text().isEmpty() || txtSmtp->text().isEmpty())
        return;
    if (!CheckMailAdress(txtMail->text())) {
        m_prompts.message(this, QStringLiteral("Felaktig e-mailadress"));
        txtMail->setFocus();
        return;
    }
    // A port that is not a number could never be read back.
    if (!parsePort(txtPort->text())) {
        m_prompts.message(this, QStringLiteral("Porten måste vara ett tal från 1 till 65535."));
        txtPort->setFocus();
        return;
    }
    MailSettings s;
    s.senderName = txtNamn->text();
    s.senderMail = txtMail->text();
    s.smtpServer = txtSmtp->text();
    s.smtpPort = txtPort->text();
    s.userName = txtAnvandarnamn->text().trimmed();
    const TextFile::WriteResult w = s.write(m_paths.file(QStringLiteral("er.txt")));
    if (!w.ok) {
        m_prompts.message(this, w.error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    if (!s.userName.isEmpty() && !txtLosenord->text().isEmpty())
        storePassword(s, txtLosenord->text());
    else
        finishSave(s);
}

void FrmEReceptInfo::storePassword(const MailSettings& s, const QString& password)
{
    const QString account = MailPassword::account(s.userName, s.smtpServer);
    // The run goes on with it whatever the keyring says.
    m_state.setMailPassword(account, password);
    setEnabled(false);
    MailPassword::write(account, password, this, [this, s](const MailPassword::Answer& a) {
        setEnabled(true);
        if (a.outcome == MailPassword::Outcome::NoKeyring)
            m_prompts.message(this,
                QStringLiteral(
                    "Det finns ingen nyckelring som kan spara lösenordet. Programmet minns det tills "
                    "du avslutar och frågar efter det nästa gång du skickar ett e-recept."),
                Prompts::Buttons::Ok, Prompts::Icon::Information);
        finishSave(s);
    });
}

void FrmEReceptInfo::finishSave(const MailSettings& s)
{
    emit saved(s);
    close();
}

void FrmEReceptInfo::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (isEnabled())
            OKButton->click();
        return;
    case Qt::Key_Escape:
        if (isEnabled())
            close();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}
