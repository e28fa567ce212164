#include "core/catalogue/RecipeEdit.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Pictures.h"
#include "core/catalogue/Wastebasket.h"

#include <QDateTime>

#include <QStringList>

#include <utility>

RecipeEdit::RecipeEdit(Database& db, const QString& pictureFolder, Window& window)
    : m_db(db)
    , m_pictureFolder(pictureFolder)
    , m_window(window)
{
}

std::optional<qint32> RecipeEdit::shownCategory() const
{
    if (m_nyttReceptMode || m_currentRid == 0 || m_shownKategoriId == 0)
        return std::nullopt;
    return m_shownKategoriId;
}

void RecipeEdit::dbError(const QString& what, const DbError& error)
{
    m_window.tell(what + QStringLiteral("\n\n") + error.describe(), Icon::Critical);
}

// A recipe without a title, or with a text too long to store, is refused
// with a word rather than stored cut.
bool RecipeEdit::fieldsFit(const Records::Fields& f)
{
    if (f.titel.isEmpty()) {
        m_window.tell(
            QStringLiteral("Receptet måste ha en titel."), Icon::None, QStringLiteral("Titel saknas"));
        return false;
    }
    const QString field = Records::overlongField(f);
    if (field.isEmpty())
        return true;
    m_window.tell(
        QStringLiteral("Texten i fältet %1 är för lång: högst %2 tecken får plats. Korta den och spara igen.")
            .arg(field)
            .arg(Records::MaxLineLength),
        Icon::Warning);
    return false;
}

void RecipeEdit::setShown(qint32 rid, qint32 kid)
{
    m_currentRid = rid;
    m_shownKategoriId = kid;
    m_receptChanged = false;
    m_window.shownChanged();
}

void RecipeEdit::showRecipe(qint32 rid)
{
    const auto loaded = Catalogue::loadRecipe(m_db, rid);
    if (!loaded) {
        dbError(QStringLiteral("Receptet kunde inte läsas."), loaded.error());
        return;
    }
    if (!*loaded) {
        // Gone since the list was filled: nothing is shown as if it were it.
        ClearRecept();
        return;
    }
    const Catalogue::Recipe& r = **loaded;
    const std::optional<qint32> kid = r.hasCategory ? std::optional(r.kategori) : std::nullopt;
    m_window.showFields({ r.titel, r.antalPersoner, r.tid, r.ingredienser, r.anvisningar }, kid);
    m_shownTitle = r.titel;
    m_receptPos = 0;
    setShown(rid, kid.value_or(0));
}

void RecipeEdit::ClearRecept()
{
    m_window.showFields({}, std::nullopt);
    setShown(0, 0);
}

void RecipeEdit::listReplaced()
{
    m_currentRid = 0;
    m_window.shownChanged();
}

void RecipeEdit::hitsShown()
{
    m_showsHits = true;
    listReplaced();
}

void RecipeEdit::refreshLater()
{
    m_refreshPending = true;
    m_window.refreshLater();
}

void RecipeEdit::refreshDue()
{
    // A new recipe's end refills the lists anyway; a question is open.
    if (!m_refreshPending || m_nyttReceptMode || m_asking)
        return;
    m_window.refillFilters();
    // Refilling would show the list's row in the fields over the open edit.
    if (m_receptChanged)
        return;
    m_refreshPending = false;
    const auto renamed = std::exchange(m_renamed, {});
    if (!m_showsHits) {
        m_window.refillList(m_currentRid);
        return;
    }
    for (const auto& [rid, oldTitle, newTitle] : renamed)
        m_window.retitle(rid, oldTitle, newTitle);
}

void RecipeEdit::AskSaveRecept()
{
    askAndStore(Offer::YesNo);
}

bool RecipeEdit::askAndStore(Offer offer)
{
    if (m_asking)
        return true;
    if (m_nyttReceptMode) {
        m_receptChanged = false;
        return true;
    }
    m_asking = true;
    const Reply reply = m_window.ask(QStringLiteral("Spara ändringar?"),
        QStringLiteral("Ändringar har gjorts i receptet. Vill Du spara ändringarna?"), offer);
    m_asking = false;
    if (reply == Reply::Cancel)
        return false;
    if (reply == Reply::Yes)
        storeEdit();
    else
        m_receptChanged = false;
    // After a rename, or a refresh that waited for the edit.
    if (m_refreshPending && !m_receptChanged)
        m_window.refreshLater();
    return true;
}

void RecipeEdit::storeEdit()
{
    const Records::Fields f = m_window.fields();
    if (!fieldsFit(f))
        return;
    // Told only once stored: a failure later in the store undoes the following.
    std::optional<std::pair<QString, QString>> followed;
    Records::TitleFollower follower;
    if (m_follower)
        follower = [&](Database& db, const QString& oldTitle, const QString& newTitle) {
            DbStatus s = m_follower(db, oldTitle, newTitle);
            if (s)
                followed = std::pair(oldTitle, newTitle);
            return s;
        };
    const auto saved = Records::saveRecipe(m_db, m_currentRid, f, follower);
    if (!saved.ok()) {
        dbError(QStringLiteral("Receptet kunde inte sparas."), saved.error());
        return;
    }
    if (!*saved) {
        // Removed meanwhile: the text stays in the fields, and the question
        // comes again until the user lets it go.
        m_window.tell(
            QStringLiteral("Receptet finns inte längre i receptdatabasen, så ändringarna kunde inte sparas. "
                           "Texten finns kvar i fälten."),
            Icon::Warning);
        return;
    }
    m_receptChanged = false;
    if (followed)
        m_window.titleFollowed(followed->first, followed->second);
    noteRename();
}

// The list shows stored titles; " kopia" may have been added, so the title
// is read back rather than taken from the field.
void RecipeEdit::noteRename()
{
    const auto loaded = Catalogue::loadRecipe(m_db, m_currentRid);
    if (!loaded || !*loaded || (*loaded)->titel == m_shownTitle)
        return;
    m_renamed.append({ m_currentRid, m_shownTitle, (*loaded)->titel });
    m_shownTitle = (*loaded)->titel;
    m_refreshPending = true;
}

bool RecipeEdit::leaveEdit()
{
    if (m_receptChanged)
        AskSaveRecept();
    return !m_receptChanged;
}

RecipeEdit::Left RecipeEdit::fieldLeft()
{
    const bool asks = m_receptChanged && !m_nyttReceptMode && !m_asking;
    const bool goOn = leaveEdit();
    return { asks, goOn };
}

void RecipeEdit::categoryEntered()
{
    if (!m_nyttReceptMode)
        m_kategoriEditing = true;
}

bool RecipeEdit::categoryLeft()
{
    if (!m_kategoriEditing)
        return false;
    m_kategoriEditing = false;
    const std::optional<qint32> kid = m_window.chosenCategory();
    if (!kid || *kid == m_shownKategoriId || m_currentRid == 0)
        return false;
    if (m_window.ask(QStringLiteral("Spara ändring?"),
            QStringLiteral("Receptets kategori har ändrats. Vill Du spara ändringen?"), Offer::YesNo)
        != Reply::Yes)
        return true;
    const auto changed = Records::changeCategory(m_db, m_currentRid, *kid);
    if (!changed.ok()) {
        dbError(QStringLiteral("Kategorin kunde inte ändras."), changed.error());
        return true;
    }
    if (!*changed) {
        m_window.tell(
            QStringLiteral("Receptet finns inte längre i receptdatabasen, så kategorin kunde inte ändras."),
            Icon::Warning);
        return true;
    }
    m_shownKategoriId = *kid;
    // The filter's counts, and maybe the list, change.
    refreshLater();
    return true;
}

bool RecipeEdit::beforeCommand(bool chooserHasFocus)
{
    if (m_nyttReceptMode)
        return true;
    categoryLeft();
    // The chooser keeps the focus, so leaving it later still tests for a change.
    m_kategoriEditing = chooserHasFocus;
    return leaveEdit();
}

bool RecipeEdit::chooseCategory(int position)
{
    // An edit that was to be stored and could not be keeps the list it belongs to.
    if (!leaveEdit())
        return false;
    m_kategoriPos = position;
    m_showsHits = false;
    listReplaced();
    return true;
}

void RecipeEdit::recipesImported()
{
    m_kategoriPos = Catalogue::NewestPosition;
    m_receptPos = 0;
    // A new recipe being typed keeps its text; the list follows when it ends.
    if (!m_nyttReceptMode)
        m_window.refillLists();
}

void RecipeEdit::BeginNyttRecept()
{
    m_ridBeforeNew = m_currentRid;
    m_nyttReceptMode = true;
    m_window.modeChanged();
    ClearRecept();
}

void RecipeEdit::SaveNyttRecept()
{
    const std::optional<qint32> kid = m_window.chosenCategory();
    if (!kid) {
        m_window.tell(QStringLiteral("Du måste ange en kategori för receptet."), Icon::Information,
            QStringLiteral("Kategori saknas"));
        return;
    }
    const Records::Fields f = m_window.fields();
    if (!fieldsFit(f))
        return;
    const auto added = Records::addRecipe(m_db, *kid, f);
    if (!added) {
        dbError(QStringLiteral("Receptet kunde inte sparas."), added.error());
        return;
    }
    m_receptChanged = false;
    // The new recipe is the one the user goes on with.
    leaveNyttRecept(*added);
}

void RecipeEdit::EndNyttRecept()
{
    leaveNyttRecept(m_ridBeforeNew);
}

void RecipeEdit::cancelNyttRecept()
{
    // One button from "Spara": what was typed is not thrown away unasked.
    if (!m_window.fields().isEmpty()
        && m_window.ask(QStringLiteral("Avbryt nytt recept"),
               QStringLiteral("Vill du slänga det nya receptet?"), Offer::YesNoDefaultNo)
            != Reply::Yes)
        return;
    EndNyttRecept();
}

void RecipeEdit::leaveNyttRecept(qint32 keep)
{
    m_nyttReceptMode = false;
    m_ridBeforeNew = 0;
    m_window.modeChanged();
    ClearRecept();
    m_window.refillLists(keep);
}

void RecipeEdit::DeleteRecept(const QVector<qint32>& marked)
{
    if (marked.isEmpty())
        return;
    if (m_window.ask(QStringLiteral("Radera recept"), QStringLiteral("Vill du radera markerade recept?"),
            Offer::YesNoDefaultNo)
        != Reply::Yes)
        return;
    if (DbStatus s
        = Wastebasket::deleteRecipes(m_db, m_pictureFolder, marked, QDateTime::currentDateTimeUtc());
        !s) {
        dbError(QStringLiteral("Recepten kunde inte raderas."), s.error());
        return;
    }
    // The files go only once the wastebasket surely holds their bytes.
    QStringList failed;
    for (qint32 rid : marked)
        if (!Pictures::removeAllPictures(m_pictureFolder, rid).ok)
            failed << QString::number(rid);
    m_deletedCount += int(marked.size());
    ClearRecept();
    m_window.refillLists();
    if (!failed.isEmpty())
        m_window.tell(QStringLiteral("Bilderna till recept %1 kunde inte tas bort.")
                          .arg(failed.join(QStringLiteral(", "))),
            Icon::Warning);
}

void RecipeEdit::undoDelete()
{
    if (m_nyttReceptMode || !leaveEdit())
        return;
    const auto rids = Wastebasket::restoreLastBatch(m_db, m_pictureFolder);
    if (!rids) {
        dbError(QStringLiteral("Recepten kunde inte återställas."), rids.error());
        return;
    }
    if (!rids->isEmpty())
        recipesRestored(rids->first());
}

void RecipeEdit::recipesRestored(qint32 rid)
{
    // A new recipe being typed keeps its text; the lists follow when it ends.
    if (m_nyttReceptMode || !leaveEdit())
        return;
    ClearRecept();
    m_window.refillLists(rid);
}

// With k recipes deleted and the list at row p after the refill, row
// p - (k - 1) goes to the top; near the top, row 0 does.
int RecipeEdit::rowAfterDelete(int currentRow)
{
    const int k = m_deletedCount;
    m_deletedCount = 0;
    if (k < 1)
        return -1;
    const int q = currentRow - (k - 1);
    if (q < 1)
        return currentRow >= 0 ? 0 : -1;
    return q;
}

// On the way out every question offers "Avbryt", which keeps the program
// running with the text where it is.
bool RecipeEdit::mayExit()
{
    if (m_nyttReceptMode) {
        // A new recipe being typed would otherwise be dropped without a word.
        if (m_window.fields().isEmpty())
            return true;
        const Reply reply = m_window.ask(QStringLiteral("Spara nytt recept?"),
            QStringLiteral("Det nya receptet har inte sparats. Vill Du spara det?"), Offer::YesNoCancel);
        if (reply == Reply::Yes)
            SaveNyttRecept();
        return reply == Reply::No || (reply == Reply::Yes && !m_nyttReceptMode);
    }
    // The user said save, but it could not be stored (no title, or the engine
    // refused): the program stays so the edit is not lost.
    return !m_receptChanged || (askAndStore(Offer::YesNoCancel) && !m_receptChanged);
}
