#include "ui/exchange/ListMail.h"

#include "core/exchange/MailSettings.h"
#include "ui/exchange/FrmERecept.h"
#include "ui/exchange/FrmEReceptInfo.h"

namespace ListMail {

void open(Prompts& prompts, const ProgramPaths& paths, RunState& state, QWidget* from, const std::function<void(QWidget*)>& openWindow,
    const QString& subject, const QString& text)
{
    QString error;
    const std::optional<MailSettings> settings
        = MailSettings::read(paths.file(QStringLiteral("er.txt")), &error);
    if (!error.isEmpty())
        prompts.message(from, error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
    if (!settings) {
        openWindow(new FrmEReceptInfo(prompts, paths, state, std::nullopt));
        return;
    }
    auto* mail = from->findChild<FrmERecept*>(
        QString::fromUtf16(FrmERecept::Inkopslista.objectName), Qt::FindDirectChildrenOnly);
    // A closed one may still wait for its deletion.
    if (!mail || !mail->isVisible()) {
        // Owned by the list's window: it goes when the list does.
        mail = new FrmERecept(prompts, paths, state, *settings, openWindow, FrmERecept::Inkopslista, from);
        mail->setAttribute(Qt::WA_DeleteOnClose);
        mail->move(from->geometry().center() - mail->rect().center());
    }
    mail->applySettings(*settings);
    mail->setSubject(subject);
    mail->setMessage(text);
    mail->show();
    mail->raise();
    mail->activateWindow();
}

} // namespace ListMail
