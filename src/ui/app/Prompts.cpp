#include "ui/app/Prompts.h"

#include "ui/app/SwedishFileColumns.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Warning:
        return QMessageBox::Warning;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

bool offers(Prompts::Buttons buttons, Prompts::Answer a)
{
    switch (a) {
    case Prompts::Answer::Ok:
        return buttons == Prompts::Buttons::Ok || buttons == Prompts::Buttons::OkCancel;
    case Prompts::Answer::Cancel:
        return buttons == Prompts::Buttons::OkCancel || buttons == Prompts::Buttons::YesNoCancel;
    case Prompts::Answer::Yes:
    case Prompts::Answer::No:
        return buttons == Prompts::Buttons::YesNo || buttons == Prompts::Buttons::YesNoCancel;
    }
    return false;
}

// The given default when the box has that button, else its first button.
Prompts::Answer defaultOf(Prompts::Buttons buttons, std::optional<Prompts::Answer> wanted)
{
    if (wanted && offers(buttons, *wanted))
        return *wanted;
    return offers(buttons, Prompts::Answer::Ok) ? Prompts::Answer::Ok : Prompts::Answer::Yes;
}

// What closing the box without a button (Esc, the close box) answers.
Prompts::Answer escapeOf(Prompts::Buttons buttons)
{
    switch (buttons) {
    case Prompts::Buttons::Ok:
        return Prompts::Answer::Ok;
    case Prompts::Buttons::YesNo:
        return Prompts::Answer::No;
    case Prompts::Buttons::OkCancel:
    case Prompts::Buttons::YesNoCancel:
        break;
    }
    return Prompts::Answer::Cancel;
}

// A message box a person answers.
Prompts::Answer askPerson(QWidget* parent, const Prompts::Shown& shown)
{
    QMessageBox box(parent);
    box.setWindowTitle(shown.title);
    box.setText(shown.text);
    box.setIcon(boxIcon(shown.icon));
    // Captions set by hand: the box must speak Swedish whatever the locale.
    static const std::pair<Prompts::Answer, QMessageBox::ButtonRole> all[] = {
        { Prompts::Answer::Ok, QMessageBox::AcceptRole },
        { Prompts::Answer::Yes, QMessageBox::YesRole },
        { Prompts::Answer::No, QMessageBox::NoRole },
        { Prompts::Answer::Cancel, QMessageBox::RejectRole },
    };
    static const char* const captions[] = { "OK", "Avbryt", "Ja", "Nej" };
    QList<std::pair<QAbstractButton*, Prompts::Answer>> buttons;
    for (const auto& [answer, role] : all) {
        if (!offers(shown.buttons, answer))
            continue;
        QPushButton* b = box.addButton(QString::fromLatin1(captions[int(answer)]), role);
        buttons.append({ b, answer });
        if (answer == shown.defaultButton)
            box.setDefaultButton(b);
        if (answer == escapeOf(shown.buttons))
            box.setEscapeButton(b);
    }
    box.exec();
    for (const auto& [b, answer] : buttons)
        if (box.clickedButton() == b)
            return answer;
    return escapeOf(shown.buttons);
}

} // namespace

Prompts::Answer Prompts::message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
    const QString& title, std::optional<Answer> defaultButton)
{
    const QString shownTitle = title.isEmpty() ? m_defaultTitle : title;
    m_shown.append({ shownTitle, text, buttons, icon, defaultOf(buttons, defaultButton) });
    if (!m_scripted)
        return askPerson(parent, m_shown.constLast());
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (m_answers.isEmpty()) {
        ++m_unexpected;
        qWarning("Prompts: unanswered question: %s", qPrintable(text));
        return escapeOf(buttons);
    }
    return m_answers.takeFirst();
}

std::optional<QString> Prompts::password(QWidget* parent, const QString& title, const QString& label)
{
    const QString shownTitle = title.isEmpty() ? m_defaultTitle : title;
    m_shown.append({ shownTitle, label, Buttons::OkCancel, Icon::None, Answer::Ok });
    if (m_scripted) {
        if (m_passwords.isEmpty()) {
            ++m_unexpected;
            qWarning("Prompts: unanswered password question: %s", qPrintable(label));
            return std::nullopt;
        }
        return m_passwords.takeFirst();
    }
    QInputDialog box(parent);
    box.setWindowTitle(shownTitle);
    box.setLabelText(label);
    box.setTextEchoMode(QLineEdit::Password);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Avbryt"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

QString Prompts::toQtFilter(const QString& filter)
{
    const int bar = filter.indexOf(QLatin1Char('|'));
    const QString label = bar < 0 ? filter : filter.left(bar);
    const QString patterns = bar < 0 ? QString() : filter.mid(bar + 1);
    // Qt reads the patterns from the last parentheses and, with the details
    // hidden, shows what stands before them: so the label is shown whole and
    // the patterns follow it, rebuilt to match both letter cases.
    QStringList qt;
    for (const QString& p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString ci;
        for (const QChar c : p) {
            if (c.isLetter() && c.toLower() != c.toUpper())
                ci += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
            else
                ci += c;
        }
        qt << ci;
    }
    return qt.isEmpty() ? label : label + QStringLiteral(" (") + qt.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QStringList Prompts::fileNames(QWidget* parent, const FileRequest& req, bool several)
{
    m_fileRequests.append(req);
    if (m_scripted) {
        const QString queued = m_files.isEmpty() ? QString() : m_files.takeFirst();
        return queued.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QFileDialog dlg(parent, req.title, req.folder, toQtFilter(req.filter));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setAcceptMode(req.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(req.save ? QFileDialog::AnyFile
            : several        ? QFileDialog::ExistingFiles
                             : QFileDialog::ExistingFile);
    // Qt's Swedish catalogue lacks these.
    dlg.setLabelText(QFileDialog::LookIn, QStringLiteral("Leta i:"));
    dlg.setLabelText(QFileDialog::FileName, QStringLiteral("Filnamn:"));
    dlg.setLabelText(QFileDialog::FileType, QStringLiteral("Filer av typen:"));
    dlg.setLabelText(QFileDialog::Accept, req.save ? QStringLiteral("Spara") : QStringLiteral("Öppna"));
    dlg.setLabelText(QFileDialog::Reject, QStringLiteral("Avbryt"));
    dlg.setProxyModel(new SwedishFileColumns(&dlg));
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

QString Prompts::fileName(QWidget* parent, const FileRequest& req)
{
    return fileNames(parent, req, false).value(0);
}

QStringList Prompts::openFileNames(
    QWidget* parent, const QString& title, const QString& filter, const QString& folder)
{
    return fileNames(parent, { title, filter, folder, false }, true);
}

std::optional<int> Prompts::choice(
    QWidget* parent, const QString& title, const QString& text, const QStringList& items)
{
    const QString shownTitle = title.isEmpty() ? m_defaultTitle : title;
    m_shown.append({ shownTitle, text, Buttons::OkCancel, Icon::Question, Answer::Ok });
    if (m_scripted) {
        if (m_choices.isEmpty()) {
            ++m_unexpected;
            qWarning("Prompts: unanswered choice: %s", qPrintable(text));
            return std::nullopt;
        }
        const std::optional<int> c = m_choices.takeFirst();
        return c && *c >= 0 && *c < items.size() ? c : std::nullopt;
    }
    QInputDialog box(parent);
    box.setWindowTitle(shownTitle);
    box.setLabelText(text);
    box.setComboBoxItems(items);
    box.setComboBoxEditable(false);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Avbryt"));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    const int at = int(items.indexOf(box.textValue()));
    return at < 0 ? std::nullopt : std::optional(at);
}

QString Prompts::openFileName(
    QWidget* parent, const QString& title, const QString& filter, const QString& folder)
{
    return fileName(parent, { title, filter, folder, false });
}

QString Prompts::saveFileName(
    QWidget* parent, const QString& title, const QString& filter, const QString& folder)
{
    return fileName(parent, { title, filter, folder, true });
}

QString Prompts::takePrintTarget()
{
    ++m_printDialogs;
    return m_printTargets.isEmpty() ? QString() : m_printTargets.takeFirst();
}

std::optional<QPageLayout> Prompts::takePageLayout()
{
    ++m_printDialogs;
    if (m_pageLayouts.isEmpty())
        return std::nullopt;
    return m_pageLayouts.takeFirst();
}
