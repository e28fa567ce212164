// gastrid_bench --recipes N [--delivered <dbRcp.mdb>]: drives the real program
// on a generated cookbook and prints one "name: value" line per figure.
#include "Generator.h"
#include "core/catalogue/Catalogue.h"
#include "ui/app/Startup.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/Program.h"

#include "SeekBench.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double seconds(const std::function<void()>& f, int repeat = 1)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < repeat; ++i)
        f();
    return double(t.nsecsElapsed()) / 1e9 / repeat;
}

void print(const char* name, double v)
{
    std::printf("%s: %.4f\n", name, v);
    std::fflush(stdout);
}

double residentMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int recipes = 100000;
    QString delivered;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--recipes") == 0)
            recipes = QByteArray(argv[i + 1]).toInt();
        if (qstrcmp(argv[i], "--delivered") == 0)
            delivered = QString::fromLocal8Bit(argv[i + 1]);
    }
    Prompts prompts;
    prompts.setScripted(true);

    if (!delivered.isEmpty()) {
        QTemporaryDir dir;
        QFile::copy(delivered, dir.filePath(QStringLiteral("dbRcp.mdb")));
        QFile(dir.filePath(QStringLiteral("dbRcp.mdb")))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        print("startup_delivered_first",
            seconds([&] { startProgram(dir.path(), prompts)->window->ExitProgram(); }));
        print(
            "startup_delivered", seconds([&] { startProgram(dir.path(), prompts)->window->ExitProgram(); }));
    }

    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("dbRcp.mdb"));
    print("generate", seconds([&] { generateCookbook(db, recipes); }));
    print("startup_first", seconds([&] { startProgram(dir.path(), prompts)->window->ExitProgram(); }));
    std::unique_ptr<Program> p;
    print("startup", seconds([&] { p = startProgram(dir.path(), prompts); }));
    FrmMain& w = *p->window;
    auto* filter = w.findChild<QComboBox*>(QStringLiteral("cmbKategorier"));
    auto* list = w.findChild<QListView*>(QStringLiteral("lstRecept"));
    auto choose = [&](int pos) {
        filter->setCurrentIndex(pos);
        emit filter->activated(pos);
    };
    print("query_all", seconds([&] { (void)Catalogue::recipesFor(p->ctx->db(), 0, 0); }, 3));
    print("fill_all_categories", seconds([&] { choose(0); }, 5));
    print("fill_one_category", seconds([&] { choose(2); }, 20));
    print("fill_kategori_list", seconds([&] { w.FillKategoriList(); }, 5));
    choose(0);
    int row = 0;
    const int rows = list->model()->rowCount();
    print("show_recipe",
        seconds(
            [&] {
                row = (row + 7919) % rows;
                list->setCurrentIndex(list->model()->index(row, 0));
            },
            200));
    print("memory_mb", residentMb());
    runSeekBench(*p->ctx, w, dir.path());
    print("memory_after_searches_mb", residentMb());
    w.ExitProgram();
    return 0;
}
