#include "ui/exchange/RecipeFileTransfer.h"

#include "core/catalogue/Catalogue.h"
#include "core/formats/RecipeFiles.h"
#include "ui/app/AppContext.h"
#include "ui/exchange/FrmImportera.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

const QString ImportFilter = QStringLiteral(
    "Receptfiler (*.json;*.html;*.htm;*.zip;*.mmf;*.mm;*.txt;*.paprikarecipes;*.paprikarecipe;*.rcp)|"
    "*.json;*.html;*.htm;*.zip;*.mmf;*.mm;*.txt;*.paprikarecipes;*.paprikarecipe;*.rcp");
constexpr int StoreDelayMs = 100;
const QString ExportFilter
    = QStringLiteral("Recept som JSON-LD i zip-fil eller receptfil (*.zip;*.rcp)|*.zip;*.rcp");

QStringList droppedFiles(const QMimeData* mime)
{
    QStringList files;
    if (mime)
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

// Folders have no meaningful size: they count as large.
bool large(const QStringList& files)
{
    qint64 bytes = 0;
    for (const QString& f : files) {
        const QFileInfo info(f);
        bytes += info.isDir() ? RecipeFileTransfer::ProgressBytes : info.size();
    }
    return bytes >= RecipeFileTransfer::ProgressBytes;
}

QString quotedNames(const QStringList& names)
{
    QStringList shown;
    for (const QString& n : names.mid(0, 5))
        shown << QStringLiteral("\"%1\"").arg(n);
    if (names.size() > 5)
        shown << QStringLiteral("…");
    return shown.join(QStringLiteral(", "));
}

} // namespace

RecipeFileTransfer::RecipeFileTransfer(AppContext& ctx, QWidget* host, QAbstractItemView* list, Hooks hooks)
    : QObject(host)
    , m_ctx(ctx)
    , m_host(host)
    , m_list(list)
    , m_hooks(std::move(hooks))
{
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(addEntry("mnuImporteraRecept", QStringLiteral("Importera recept från fil…")), &QAction::triggered,
        this, &RecipeFileTransfer::askImport);
    connect(addEntry("mnuExporteraMarkerade", QStringLiteral("Exportera markerade recept…")),
        &QAction::triggered, this, [this] { exportRecipes(false); });
    connect(addEntry("mnuExporteraKokboken", QStringLiteral("Exportera hela kokboken…")), &QAction::triggered,
        this, [this] { exportRecipes(true); });
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(this);
    connect(&m_job, &BackgroundJob::progress, this, [this](int done, int total) {
        if (m_window)
            m_window->setProgress(done, total);
    });
    connect(&m_job, &BackgroundJob::finished, this, &RecipeFileTransfer::fileRead);
}

RecipeFileTransfer::~RecipeFileTransfer() = default;

QAction* RecipeFileTransfer::addEntry(const char* name, const QString& caption)
{
    auto* a = new QAction(caption, m_list);
    a->setObjectName(QString::fromLatin1(name));
    m_list->addAction(a);
    return a;
}

bool RecipeFileTransfer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDropEvent*>(event);
        if (droppedFiles(e->mimeData()).isEmpty() || !m_list->isEnabled())
            return false;
        e->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const QStringList files = droppedFiles(e->mimeData());
        if (files.isEmpty() || !m_list->isEnabled())
            return false;
        e->acceptProposedAction();
        // Questions wait until the drop has ended.
        QMetaObject::invokeMethod(
            this, [this, files] { importFiles(files); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void RecipeFileTransfer::askImport()
{
    if (isImporting())
        return;
    const QStringList files = m_ctx.prompts().openFileNames(
        m_host, QStringLiteral("Importera recept från fil"), ImportFilter, QDir::homePath());
    if (!files.isEmpty())
        importFiles(files);
}

void RecipeFileTransfer::importFiles(const QStringList& files)
{
    if (isImporting() || files.isEmpty() || (m_hooks.mayStart && !m_hooks.mayStart()))
        return;
    m_files = files;
    m_next = 0;
    m_added = false;
    m_tally = {};
    if (large(files)) {
        m_window = new FrmImportera(m_ctx, m_host);
        connect(m_window, &FrmImportera::cancelled, &m_job, &BackgroundJob::requestStop);
        m_window->show();
    }
    readNext();
}

void RecipeFileTransfer::readNext()
{
    if (m_next >= m_files.size()) {
        finish();
        return;
    }
    const QString path = m_files.at(m_next++);
    if (m_window)
        m_window->showFile(QFileInfo(path).fileName(), m_next, int(m_files.size()));
    m_read = {};
    m_job.start([this, path](const BackgroundJob::Control& c) {
        ReadOptions options;
        options.progress = [&c](qint64 done, qint64 total) {
            return c.progress(total <= 0 ? 0 : int(1000 * std::clamp(done, qint64(0), total) / total), 1000);
        };
        m_read = RecipeFiles::read(path, options);
    });
}

void RecipeFileTransfer::fileRead()
{
    // "Avbryt" before storing began stores nothing of the file, read or not.
    if (m_window && m_window->cancelRequested()) {
        m_tally.stopped = true;
        finish();
        return;
    }
    const QString path = m_files.at(m_next - 1);
    if (!m_read.ok()) {
        m_tally.faults << m_read.error;
        readNext();
        return;
    }
    const std::optional<RecipeTransfer::ImportChoice> choice = askCategory(path);
    if (!choice) {
        readNext();
        return;
    }
    if (!m_window) {
        storeRead(*choice);
        return;
    }
    // The window is told first, and the question's box has gone from the
    // screen, before the program's thread is busy storing.
    m_window->showStoring(QFileInfo(path).fileName(), int(m_read.recipes.size()));
    QTimer::singleShot(StoreDelayMs, this, [this, c = *choice] { storeRead(c); });
}

void RecipeFileTransfer::storeRead(const RecipeTransfer::ImportChoice& choice)
{
    const RecipeTransfer::ImportResult r
        = RecipeTransfer::store(m_ctx.db(), m_ctx.pictureFolder(), m_read, choice);
    m_tally.add(r);
    m_added = m_added || !r.added.isEmpty();
    m_read = {};
    readNext();
}

// Asked once for the file, when some of its recipes fit no category by name.
std::optional<RecipeTransfer::ImportChoice> RecipeFileTransfer::askCategory(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const auto unmatched = RecipeTransfer::unmatched(m_ctx.db(), m_read);
    const auto all = Catalogue::allCategories(m_ctx.db());
    if (!unmatched || !all) {
        const DbError& e = !unmatched ? unmatched.error() : all.error();
        m_tally.faults << QStringLiteral("Recepten i %1 kunde inte sparas.\n\n%2").arg(name, e.describe());
        return std::nullopt;
    }
    if (unmatched->recipes == 0)
        return RecipeTransfer::ImportChoice {};
    QStringList items { unmatched->names.size() == 1
            ? QStringLiteral("Skapa kategorin %1").arg(quotedNames(unmatched->names))
            : QStringLiteral("Skapa kategorierna %1").arg(quotedNames(unmatched->names)) };
    for (const Catalogue::Category& c : *all)
        items << c.name;
    const QString text
        = QStringLiteral("%1 av recepten i filen %2 har en kategori som inte finns i kokboken (%3). "
                         "Vilken kategori ska de få?")
              .arg(unmatched->recipes)
              .arg(name, quotedNames(unmatched->names));
    QWidget* parent = m_window ? static_cast<QWidget*>(m_window) : m_host;
    const std::optional<int> chosen
        = m_ctx.prompts().choice(parent, QStringLiteral("Välj kategori"), text, items);
    if (!chosen) {
        m_tally.faults
            << QStringLiteral("Inget recept från filen %1 har sparats: ingen kategori valdes.").arg(name);
        return std::nullopt;
    }
    if (*chosen == 0)
        return RecipeTransfer::ImportChoice {};
    return RecipeTransfer::ImportChoice { {}, all->at(*chosen - 1).kid };
}

void RecipeFileTransfer::finish()
{
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
    m_files.clear();
    if (m_added && m_hooks.imported)
        m_hooks.imported();
    const bool failed = !m_tally.faults.isEmpty() || m_tally.stopped;
    m_ctx.prompts().message(m_host, m_tally.text(), Prompts::Buttons::Ok,
        failed ? Prompts::Icon::Warning : Prompts::Icon::Information);
    emit importFinished();
}

void RecipeFileTransfer::exportRecipes(bool all)
{
    if (isImporting() || (m_hooks.mayStart && !m_hooks.mayStart()))
        return;
    QVector<qint32> rids;
    if (all) {
        const RecipeTransfer::Selection s = RecipeTransfer::select(m_ctx.db(), {});
        if (!s.error.isEmpty()) {
            m_ctx.prompts().message(m_host, s.error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
            return;
        }
        rids = s.rids;
    } else if (m_hooks.marked) {
        rids = m_hooks.marked();
    }
    if (rids.isEmpty()) {
        m_ctx.prompts().message(m_host,
            all ? QStringLiteral("Kokboken har inga recept att exportera.")
                : QStringLiteral("Markera först de recept som ska exporteras."));
        return;
    }
    QString path = m_ctx.prompts().saveFileName(m_host,
        all ? QStringLiteral("Exportera hela kokboken") : QStringLiteral("Exportera markerade recept"),
        ExportFilter, QDir::homePath());
    if (path.isEmpty())
        return;
    // A name without either suffix becomes a zip file, readable by most programs.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("zip") && suffix != QLatin1String("rcp"))
        path += QStringLiteral(".zip");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const RecipeTransfer::ExportResult r
        = RecipeTransfer::exportRecipes(m_ctx.db(), m_ctx.pictureFolder(), rids, path);
    QApplication::restoreOverrideCursor();
    if (r.ok())
        m_ctx.prompts().message(m_host,
            QStringLiteral("%1 recept exporterades till %2.")
                .arg(r.count)
                .arg(QDir::toNativeSeparators(path)),
            Prompts::Buttons::Ok, Prompts::Icon::Information);
    else
        m_ctx.prompts().message(m_host, r.error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
}
