#pragma once

#include "core/formats/PortableRecipe.h"
#include "core/formats/RecipeTransfer.h"
#include "core/job/BackgroundJob.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class AppContext;
class FrmImportera;
class QAbstractItemView;
class QAction;
class QWidget;

// Recipes in from files and out to them, for the recipe list: its context
// menu entries and files dropped on it. Each file is read on a worker
// thread and stored on this one, one transaction per file.
class RecipeFileTransfer : public QObject {
    Q_OBJECT
public:
    // What the list's window does around a transfer.
    struct Hooks {
        // Asks about an unsaved edit; false when the command must wait.
        std::function<bool()> mayStart;
        // The marked recipes, in list order.
        std::function<QVector<qint32>()> marked;
        // After recipes were stored: categories and lists renewed.
        std::function<void()> imported;
    };
    // Files of at least this many bytes together get the progress window.
    static constexpr qint64 ProgressBytes = 256 * 1024;

    RecipeFileTransfer(AppContext& ctx, QWidget* host, QAbstractItemView* list, Hooks hooks);
    ~RecipeFileTransfer() override;

    void askImport();
    void importFiles(const QStringList& files);
    // The marked recipes, or all of them.
    void exportRecipes(bool all);
    bool isImporting() const { return !m_files.isEmpty(); }

signals:
    // An import has ended and its summary was shown.
    void importFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addEntry(const char* name, const QString& caption);
    void readNext();
    void fileRead();
    void storeRead(const RecipeTransfer::ImportChoice& choice);
    std::optional<RecipeTransfer::ImportChoice> askCategory(const QString& path);
    void finish();

    AppContext& m_ctx;
    QWidget* m_host;
    QAbstractItemView* m_list;
    Hooks m_hooks;
    QStringList m_files;
    int m_next = 0;
    bool m_added = false;
    RecipeTransfer::Tally m_tally;
    QPointer<FrmImportera> m_window;
    // Written by the worker, read here after it finished.
    ReadResult m_read;
    // Last, so that a running reading ends before what it writes goes.
    BackgroundJob m_job;
};
