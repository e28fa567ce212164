#include "SeekBench.h"

#include "core/catalogue/Catalogue.h"
#include "core/search/SeekEngine.h"
#include "ui/app/AppContext.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

int benchRounds = 3;

namespace {

const QStringList Common { "mjöl", "socker", "smör", "ägg", "mjölk", "salt", "peppar", "lök", "grädde",
    "vitlök" };
const QStringList Pantry = Common
    + QStringList { "potatis", "morot", "tomat", "olja", "vatten", "citron", "persilja", "ost", "ris",
          "kyckling" };
const QString FreeText = QStringLiteral("grädde");

void print(const char* name, double value)
{
    std::printf("%s: %.6f\n", name, value);
    std::fflush(stdout);
}

void printCount(const char* name, int value)
{
    std::printf("%s: %d\n", name, value);
    std::fflush(stdout);
}

// Best of a few rounds: the figure least disturbed by the rest of the machine.
// Best of a few rounds of a run that times itself.
double bestTimed(const std::function<double()>& run)
{
    double fastest = 1e300;
    for (int i = 0; i < benchRounds; ++i)
        fastest = std::min(fastest, run());
    return fastest;
}

double best(const std::function<void()>& run)
{
    double fastest = 1e300;
    for (int i = 0; i < benchRounds; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        fastest = std::min(fastest, double(t.nsecsElapsed()) / 1e9);
    }
    return fastest;
}

struct Panel {
    explicit Panel(FrmMain& w)
        : search(w.searchPanel())
        , mode(w.findChild<QComboBox*>(QStringLiteral("cmbSeek")))
        , add(w.findChild<QLineEdit*>(QStringLiteral("txtAddSeek")))
        , text(w.findChild<QLineEdit*>(QStringLiteral("txtSeek")))
        , count(w.findChild<QLabel*>(QStringLiteral("lblRecept")))
        , seekButton(w.findChild<QPushButton*>(QStringLiteral("cmdButton_5")))
        , addButton(w.findChild<QPushButton*>(QStringLiteral("cmdButton_19")))
        , clearButton(w.findChild<QPushButton*>(QStringLiteral("cmdButton_15")))
    {
    }
    bool ok() const { return mode && add && text && count && seekButton && addButton && clearButton; }
    void setEntries(int m, const QStringList& entries)
    {
        mode->setCurrentIndex(m);
        clearButton->click();
        for (const QString& e : entries) {
            add->setText(e);
            addButton->click();
        }
    }
    int hits() const { return count->text().section(QLatin1Char(' '), 0, 0).toInt(); }
    // Seconds from the click to the hits in the list. The window's repaint
    // afterwards is left out, as it was when searches returned at once.
    double seek()
    {
        QElapsedTimer t;
        t.start();
        qint64 done = -1;
        // After the window's own: the list is filled by then.
        const QMetaObject::Connection c
            = QObject::connect(&search, &SearchPanel::searchDone, &search, [&] { done = t.nsecsElapsed(); });
        seekButton->click();
        // Not an event loop of its own: the programs closed before have asked
        // every loop of this thread to end at once.
        while (done < 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QObject::disconnect(c);
        return double(done) / 1e9;
    }

    SearchPanel& search;

    QComboBox* mode;
    QLineEdit* add;
    QLineEdit* text;
    QLabel* count;
    QPushButton* seekButton;
    QPushButton* addButton;
    QPushButton* clearButton;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Every recipe's columns, one recipe after the other, as stored.
bool exportTexts(Database& db, const char* sql, const QString& path)
{
    auto prepared = db.prepare(sql);
    if (!prepared)
        return false;
    Statement& st = *prepared;
    QByteArray out;
    while (st.next()) {
        for (int c = 0; c < st.columnCount(); ++c) {
            int n = 0;
            if (const char* s = st.utf8(c, &n))
                out.append(s, n);
            out.append('\n');
        }
    }
    return !st.failed() && writeFile(path, out);
}

// Seconds for one grep run, or nothing when grep is not there.
std::optional<double> timeGrep(const QStringList& args)
{
    QProcess grep;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Case folding of å, ä, ö needs a UTF-8 locale.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    grep.setProcessEnvironment(env);
    double fastest = 1e300;
    for (int i = 0; i < benchRounds; ++i) {
        QElapsedTimer t;
        t.start();
        grep.start(QStringLiteral("grep"), args);
        if (!grep.waitForFinished(600000) || grep.exitStatus() != QProcess::NormalExit || grep.exitCode() > 1)
            return std::nullopt;
        fastest = std::min(fastest, double(t.nsecsElapsed()) / 1e9);
        grep.readAllStandardOutput();
    }
    return fastest;
}

// The near-miss search has no window yet: it is timed on the engine, beside
// the can-be-cooked search timed the same way, on a kept text of its own.
void timeEngine(Database& db, double grepPantry)
{
    SeekEngine::KeptText kept(db);
    Catalogue::TitleOrder order(db);
    const auto cookable
        = [&] { (void)SeekEngine::ingredients(kept, order, SeekEngine::Rule::Cookable, Pantry); };
    cookable();
    print("seek_cookable_20_engine", best(cookable));
    std::optional<SeekEngine::MissingResult> found;
    const double missing = best([&] {
        auto r = SeekEngine::missingOne(kept, order, Pantry);
        if (r)
            found = std::move(*r);
    });
    print("seek_missing_one", missing);
    print("seek_missing_one_vs_grep", missing / std::max(grepPantry, 1e-9));
    if (!found)
        return;
    printCount("seek_missing_one_hits", int(found->found.ids.size()));
    print("seek_missing_one_lines", best([&] { (void)SeekEngine::missingLines(db, *found); }));
}

} // namespace

void runSeekBench(
    AppContext& ctx, FrmMain& window, const QString& workDir, const std::function<void()>& afterSearches)
{
    Panel panel(window);
    if (!panel.ok()) {
        std::fprintf(stderr, "seek bench: search panel not found\n");
        return;
    }

    panel.setEntries(0, Common);
    // The first search reads the texts it keeps (unless the program had a
    // moment to read them while waiting); the rounds after it do not.
    print("seek_first_any_10", panel.seek());
    const double any = bestTimed([&] { return panel.seek(); });
    print("seek_any_10", any);
    printCount("seek_any_10_hits", panel.hits());

    panel.setEntries(1, Pantry);
    const double cookable = bestTimed([&] { return panel.seek(); });
    print("seek_cookable_20", cookable);
    printCount("seek_cookable_20_hits", panel.hits());

    panel.setEntries(2, {});
    const double free = bestTimed([&] {
        panel.text->setText(FreeText);
        return panel.seek();
    });
    print("seek_freetext", free);
    printCount("seek_freetext_hits", panel.hits());
    panel.setEntries(0, {});
    // Before the texts are read again below for grep, which fills the engine's cache.
    afterSearches();

    const QDir dir(workDir);
    const QString ingredients = dir.filePath(QStringLiteral("seek_ingredienser.txt"));
    const QString allText = dir.filePath(QStringLiteral("seek_alltext.txt"));
    const QString entries = dir.filePath(QStringLiteral("seek_entries_10.txt"));
    const QString pantry = dir.filePath(QStringLiteral("seek_entries_20.txt"));
    if (!exportTexts(ctx.db(), "SELECT Ingredienser FROM tblRecept;", ingredients)
        || !exportTexts(ctx.db(), "SELECT Titel, Ingredienser, Anvisningar FROM tblRecept;", allText)
        || !writeFile(entries, (Common.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8())
        || !writeFile(pantry, (Pantry.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8())) {
        std::fprintf(stderr, "seek bench: could not export the texts to %s\n", qPrintable(workDir));
        return;
    }
    const auto grepAny = timeGrep({ "-c", "-i", "-F", "-f", entries, ingredients });
    const auto grepPantry = timeGrep({ "-c", "-i", "-F", "-f", pantry, ingredients });
    const auto grepFree = timeGrep({ "-c", "-i", "-F", "-e", FreeText, allText });
    if (!grepAny || !grepPantry || !grepFree) {
        std::fprintf(stderr, "seek bench: grep did not run\n");
        return;
    }
    print("grep_any_10", *grepAny);
    print("seek_any_10_vs_grep", any / std::max(*grepAny, 1e-9));
    print("grep_cookable_20", *grepPantry);
    print("seek_cookable_20_vs_grep", cookable / std::max(*grepPantry, 1e-9));
    print("grep_freetext", *grepFree);
    print("seek_freetext_vs_grep", free / std::max(*grepFree, 1e-9));
    timeEngine(ctx.db(), *grepPantry);
}
