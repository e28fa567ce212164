#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Every message box and file dialog of the program goes through here, so a
// test can answer them from a script instead of a person.
class Prompts {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Shown {
        QString title;
        QString text;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        // The button Enter presses.
        Answer defaultButton = Answer::Ok;
    };
    struct FileRequest {
        QString title;
        QString filter;
        QString folder;
        bool save = false;
    };

    // Empty title: the program's title. Enter presses `defaultButton` when the
    // box has it, else the first button ("OK" or "Ja"): a question whose "Ja"
    // destroys something passes Answer::No.
    Answer message(QWidget* parent, const QString& text, Buttons buttons = Buttons::Ok,
        Icon icon = Icon::None, const QString& title = {}, std::optional<Answer> defaultButton = {});
    // Filter in the "Text (*.a;*.b)|*.a;*.b" form. Returns the empty text when cancelled.
    QString openFileName(QWidget* parent, const QString& title, const QString& filter, const QString& folder);
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& folder);
    // One or more existing files; none when cancelled. Scripted, it takes the
    // next queued name, several names parted by line ends.
    QStringList openFileNames(
        QWidget* parent, const QString& title, const QString& filter, const QString& folder);
    // One of `items` chosen in a small window: its position, nothing when
    // cancelled. Scripted, it takes the next queued choice.
    std::optional<int> choice(
        QWidget* parent, const QString& title, const QString& text, const QStringList& items);

    // A password typed into a small window; nothing when cancelled.
    std::optional<QString> password(QWidget* parent, const QString& title, const QString& label);

    void setDefaultTitle(const QString& title) { m_defaultTitle = title; }

    // Scripted mode: questions take the queued answers (an OK-only box needs
    // none), file dialogs take the queued names ("" = cancelled).
    void setScripted(bool on) { m_scripted = on; }
    bool isScripted() const { return m_scripted; }
    void queueAnswer(Answer a) { m_answers.append(a); }
    void queueFileName(const QString& name) { m_files.append(name); }
    // A password question takes the next queued text (nothing = cancelled).
    void queuePassword(const std::optional<QString>& password) { m_passwords.append(password); }
    int pendingPasswords() const { return int(m_passwords.size()); }
    void queueChoice(std::optional<int> position) { m_choices.append(position); }
    int pendingChoices() const { return int(m_choices.size()); }
    int pendingAnswers() const { return int(m_answers.size()); }
    int pendingFileNames() const { return int(m_files.size()); }
    // Questions asked while the queue was empty.
    int unexpected() const { return m_unexpected; }
    const QList<Shown>& shown() const { return m_shown; }
    const QList<FileRequest>& fileRequests() const { return m_fileRequests; }
    void clearShown()
    {
        m_shown.clear();
        m_fileRequests.clear();
        m_unexpected = 0;
        m_printDialogs = 0;
    }

    // The print module shows the print and page-setup dialogs itself; in
    // scripted mode it takes these answers instead: a PDF file to print to
    // ("" = cancelled) and a page layout (none queued = cancelled).
    void queuePrintTarget(const QString& pdfFile) { m_printTargets.append(pdfFile); }
    void queuePageLayout(const QPageLayout& layout) { m_pageLayouts.append(layout); }
    QString takePrintTarget();
    std::optional<QPageLayout> takePageLayout();
    int printDialogsShown() const { return m_printDialogs; }

    // Qt's name filter for a "Text|patterns" filter; patterns match either case.
    static QString toQtFilter(const QString& filter);

private:
    QStringList fileNames(QWidget* parent, const FileRequest& req, bool several);
    QString fileName(QWidget* parent, const FileRequest& req);

    QString m_defaultTitle;
    bool m_scripted = false;
    QList<Answer> m_answers;
    QStringList m_files;
    QList<std::optional<QString>> m_passwords;
    QList<std::optional<int>> m_choices;
    QList<Shown> m_shown;
    QList<FileRequest> m_fileRequests;
    int m_unexpected = 0;
    QStringList m_printTargets;
    QList<QPageLayout> m_pageLayouts;
    int m_printDialogs = 0;
};
