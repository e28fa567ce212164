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

// A message box a person answers.
Prompts::Answer askPerson(
    QWidget* parent, const QString& title, const QString& text, Prompts::Buttons buttons, Prompts::Icon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(boxIcon(icon));
    // Captions set by hand: the box must speak Swedish whatever the locale.
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (buttons) {
    case Prompts::Buttons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        break;
    case Prompts::Buttons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("Avbryt"), QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(cancel);
        break;
    case Prompts::Buttons::YesNo:
        yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Nej"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked == ok)
        return Prompts::Answer::Ok;
    if (clicked && clicked == yes)
        return Prompts::Answer::Yes;
    if (clicked && clicked == no)
        return Prompts::Answer::No;
    return buttons == Prompts::Buttons::YesNo ? Prompts::Answer::No : Prompts::Answer::Cancel;
}

} // namespace

Prompts::Answer Prompts::message(
    QWidget* parent, const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    const QString shownTitle = title.isEmpty() ? m_defaultTitle : title;
    m_shown.append({ shownTitle, text, buttons, icon });
    if (!m_scripted)
        return askPerson(parent, shownTitle, text, buttons, icon);
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (m_answers.isEmpty()) {
        ++m_unexpected;
        qWarning("Prompts: unanswered question: %s", qPrintable(text));
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    return m_answers.takeFirst();
}

std::optional<QString> Prompts::password(QWidget* parent, const QString& title, const QString& label)
{
    const QString shownTitle = title.isEmpty() ? m_defaultTitle : title;
    m_shown.append({ shownTitle, label, Buttons::OkCancel, Icon::None });
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

QString Prompts::fileName(QWidget* parent, const FileRequest& req)
{
    m_fileRequests.append(req);
    if (m_scripted)
        return m_files.isEmpty() ? QString() : m_files.takeFirst();
    QFileDialog dlg(parent, req.title, req.folder, toQtFilter(req.filter));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setAcceptMode(req.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(req.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt's Swedish catalogue lacks these.
    dlg.setLabelText(QFileDialog::LookIn, QStringLiteral("Leta i:"));
    dlg.setLabelText(QFileDialog::FileName, QStringLiteral("Filnamn:"));
    dlg.setLabelText(QFileDialog::FileType, QStringLiteral("Filer av typen:"));
    dlg.setLabelText(QFileDialog::Accept, req.save ? QStringLiteral("Spara") : QStringLiteral("Öppna"));
    dlg.setLabelText(QFileDialog::Reject, QStringLiteral("Avbryt"));
    dlg.setProxyModel(new SwedishFileColumns(&dlg));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
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
