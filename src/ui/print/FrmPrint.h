#pragma once

#include "core/app/ProgramPaths.h"
#include "core/db/Database.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QWidget>

#include <functional>
#include <optional>

class PageView;
class QHBoxLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The print window: a recipe's page built from the template, printed or set
// up for the page; the template can be edited here too. It can also show a
// ready page (the shopping list), which is only printed.
class FrmPrint : public QWidget {
    Q_OBJECT
public:
    // currentRid is asked at each build: the page is of the recipe at the main
    // list's current position at that moment.
    FrmPrint(Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state,
        std::function<qint32()> currentRid, QWidget* parent = nullptr);
    // Shows a page file as it is; no template editing.
    FrmPrint(Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state,
        const QString& pagePath, QWidget* parent = nullptr);

    // A ready page that can be mailed (the shopping list): "Skicka" beside
    // "Skriv ut" calls send.
    void offerMail(std::function<void()> send);

    bool isEditingTemplate() const { return m_editingTemplate; }
    QSize sizeHint() const override { return { 700, 640 }; }

    // Builds the page of the current recipe and shows it, for the portions in
    // the number box when they differ from the recipe's own.
    void BuildPrintPage();
    // Writes the default template and puts it into the editor.
    void RestoreDefaultTemplate();

private:
    // The buttons by their index in cmdButton (cmdButton_<index>); Redigera
    // reads "Visa" while the template is edited.
    enum class Cmd : int {
        SkrivUt = 0,
        Redigera = 1,
        Aterstall = 2,
        Avbryt = 3,
        Stang = 4,
        Installningar = 5,
    };
    static constexpr int CmdCount = 6;
    // The containers by their index in picContainer: the page, the template editor.
    enum class Page : int { Preview = 0, Editor = 1 };

    void buildControls();
    QHBoxLayout* buildButtons();
    QPushButton* button(Cmd c) const { return cmdButton[int(c)]; }
    QWidget* container(Page p) const { return picContainer[int(p)]; }
    void cmdButton_Click(Cmd c);
    void beginEditing();
    void saveAndShow();
    void cancelEditing();
    void showPreview();
    void textEdited();
    void showPage(const QString& path);
    void showPortions(qint32 rid, std::optional<int> stored);
    void warn(const QString& text);

    Database& m_db;
    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    RunState& m_state;
    std::function<qint32()> m_currentRid;
    bool m_editingTemplate = false;
    QWidget* picContainer[2] = {};
    PageView* Browser = nullptr;
    QPlainTextEdit* txtEdit = nullptr;
    QPushButton* cmdButton[CmdCount] = {};
    QPushButton* cmdSkickaInkopslista = nullptr;
    std::function<void()> m_send;
    // For the recipe whose page is shown: the portions it is stored with, and
    // the number box that scales the page (disabled without a number).
    QLabel* lblPortioner = nullptr;
    QSpinBox* spnPortioner = nullptr;
    std::optional<qint32> m_shownRid;
    std::optional<int> m_storedPortions;
};
