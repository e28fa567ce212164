#pragma once

#include "core/catalogue/Records.h"
#include "core/db/Database.h"

#include <QString>
#include <QVector>

#include <optional>
#include <tuple>

// The main window's editing session: which recipe the fields show, whether
// they hold an edit not yet asked about, new-recipe mode, and the rules for
// asking, storing, refusing and deleting. It knows no widget: it asks and
// tells through its Window, which holds the fields and the lists.
class RecipeEdit {
public:
    enum class Icon { None, Information, Warning, Critical };
    // A question's buttons: Ja/Nej with Enter on Ja; Ja/Nej with Enter on Nej,
    // for a Ja that throws something away; Ja/Nej/Avbryt, Avbryt changing nothing.
    enum class Offer { YesNo, YesNoDefaultNo, YesNoCancel };
    enum class Reply { Yes, No, Cancel };

    // What the session needs from the window that shows it.
    class Window {
    public:
        virtual ~Window() = default;
        // A box without an icon.
        virtual Reply ask(const QString& title, const QString& text, Offer offer) = 0;
        // A box with an OK button; the empty title stands for the program's.
        virtual void tell(const QString& text, Icon icon, const QString& title = {}) = 0;
        // What the five fields hold, and the category the chooser shows.
        virtual Records::Fields fields() const = 0;
        virtual std::optional<qint32> chosenCategory() const = 0;
        // Puts texts into the fields and a category into the chooser.
        virtual void showFields(const Records::Fields& f, std::optional<qint32> kid) = 0;
        // The shown recipe changed (the fields take typing only while one is).
        virtual void shownChanged() = 0;
        // New-recipe mode began or ended.
        virtual void modeChanged() = 0;
        // Recipes were added or deleted: the category filter and the recipe
        // list are read again, the list's row shown. With `keep` not 0,
        // recipe `keep` is shown and selected instead, under "Alla kategorier"
        // when the filter's entry does not list it.
        virtual void refillLists(qint32 keep = 0) = 0;
        // Stored titles or categories changed, maybe in the middle of a
        // click on the list: once the current event is over and no press on
        // the list is held, the window calls refreshDue().
        virtual void refreshLater() = 0;
        // The filter's entries and counts and the category chooser are read
        // again; the filter stays on its category while that lists recipes.
        virtual void refillFilters() = 0;
        // The recipe list is read again for the filter's entry: recipe `keep`
        // shown and selected as in refillLists, the marked ones still marked.
        virtual void refillList(qint32 keep) = 0;
        // Weeks that named the old title now name the new one.
        virtual void titleFollowed(const QString& oldTitle, const QString& newTitle) = 0;
        // Renamed recipes in a list of search hits: old title to new.
        virtual void retitle(qint32 rid, const QString& oldTitle, const QString& newTitle) = 0;
    };

    RecipeEdit(Database& db, const QString& pictureFolder, Window& window);
    // Run inside the store when a stored title changes (see Records::saveRecipe).
    void setTitleFollower(Records::TitleFollower follower) { m_follower = std::move(follower); }

    qint32 currentRid() const { return m_currentRid; }
    bool receptChanged() const { return m_receptChanged; }
    bool nyttReceptMode() const { return m_nyttReceptMode; }
    int kategoriPos() const { return m_kategoriPos; }
    int receptPos() const { return m_receptPos; }
    int deletedCount() const { return m_deletedCount; }
    // The stored category of the shown recipe; none in new-recipe mode.
    std::optional<qint32> shownCategory() const;

    // The user changed the text of a field.
    void edited() { m_receptChanged = true; }
    // Shows a recipe in the fields; one gone meanwhile empties them.
    void showRecipe(qint32 rid);
    void ClearRecept();
    // The recipe list was filled anew: until a row is shown no recipe counts
    // as shown, though the fields keep their text.
    void listReplaced();
    // The filter's entries were read again and its entry moved to `position`.
    void filterRefilled(int position) { m_kategoriPos = position; }
    // The list shows a search's hits until the next filter choice.
    void hitsShown();
    bool showsHits() const { return m_showsHits; }
    // Categories changed elsewhere: the lists follow later (refreshDue).
    void listsOutdated() { refreshLater(); }
    // The window's later call: the lists follow what is stored and the shown
    // recipe stays shown and selected. A list of hits stays, its titles
    // renewed. The list waits while an edit is open or a new recipe typed.
    void refreshDue();

    void AskSaveRecept();
    // Asks about an unsaved edit; false when the user wanted it stored and it
    // could not be, so what was about to happen must not.
    bool leaveEdit();

    struct Left {
        bool asked = false;
        bool goOn = true;
    };
    // The focus left one of the five fields.
    Left fieldLeft();
    // The focus entered or left the category chooser; leaving it asks about
    // a changed category and returns whether it asked.
    void categoryEntered();
    bool categoryLeft();
    // Before a command runs: a shortcut clicks its button without taking the
    // focus, so the questions that leaving would ask come first. False when
    // the command must wait.
    bool beforeCommand(bool chooserHasFocus);
    // A choice in the category filter; false when it must not happen.
    bool chooseCategory(int position);
    // After an import: the filter goes to "10 senaste recepten".
    void recipesImported();

    void BeginNyttRecept();
    void SaveNyttRecept();
    // Leaves new-recipe mode without storing, back at the recipe shown before.
    void EndNyttRecept();
    // "Avbryt" in new-recipe mode: asks first when anything was typed.
    void cancelNyttRecept();
    // Moves the marked recipes and their pictures to the wastebasket, after asking.
    void DeleteRecept(const QVector<qint32>& marked);
    // Puts the newest deleted batch back and shows its first recipe.
    void undoDelete();
    // Recipe `rid` came back from the wastebasket: the lists show it.
    void recipesRestored(qint32 rid);
    // Deleting with the keyboard: the list's row before, and after the
    // refill the row to mark at the top of the list (-1: none).
    void setReceptPos(int row) { m_receptPos = row; }
    int rowAfterDelete(int currentRow);
    // Before the program ends; false when it must stay: the user chose
    // "Avbryt", or an edit the user wanted stored could not be.
    bool mayExit();

private:
    // Asks about the edit and stores it on Ja; false on Avbryt.
    bool askAndStore(Offer offer);
    void storeEdit();
    void leaveNyttRecept(qint32 keep);
    void setShown(qint32 rid, qint32 kid);
    bool fieldsFit(const Records::Fields& f);
    void dbError(const QString& what, const DbError& error);
    void refreshLater();
    void noteRename();

    Database& m_db;
    QString m_pictureFolder;
    Window& m_window;
    Records::TitleFollower m_follower;

    qint32 m_currentRid = 0;
    bool m_receptChanged = false;
    bool m_nyttReceptMode = false;
    // The recipe shown when new-recipe mode began, shown again when it ends unsaved.
    qint32 m_ridBeforeNew = 0;
    int m_kategoriPos = 0;
    int m_receptPos = 0;
    int m_deletedCount = 0;
    // The category the chooser showed with the recipe, 0 for none.
    qint32 m_shownKategoriId = 0;
    // The chooser got the focus while browsing: leaving it tests for a change.
    bool m_kategoriEditing = false;
    // A question is open; the focus moves it causes must not ask again.
    bool m_asking = false;
    // The stored title of the shown recipe, to see a rename.
    QString m_shownTitle;
    bool m_showsHits = false;
    bool m_refreshPending = false;
    // Recipes renamed since the last refresh: number, old title, new title.
    QList<std::tuple<qint32, QString, QString>> m_renamed;
};
