// gastrid_bench --recipes N [--delivered <dbRcp.mdb>]: drives the real program
// on a generated cookbook and prints one "name: value" line per figure.
#include "FormatsBench.h"
#include "Generator.h"
#include "core/catalogue/Catalogue.h"
#include "ui/app/Startup.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/Program.h"
#include "ui/mainwindow/SearchPanel.h"

#include "SeekBench.h"
#include "WebPageBench.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

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
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (qstrcmp(argv[i], "--recipes") == 0 && hasValue) {
            recipes = QByteArray(argv[++i]).toInt();
        } else if (qstrcmp(argv[i], "--delivered") == 0 && hasValue) {
            delivered = QString::fromLocal8Bit(argv[++i]);
        } else if (qstrcmp(argv[i], "--mealmaster") == 0 && hasValue) {
            return runFormatsBench(QByteArray(argv[++i]).toInt()) ? 0 : 1;
        } else if (qstrcmp(argv[i], "--webpages") == 0) {
            return runWebPageBench() ? 0 : 1;
        } else if (qstrcmp(argv[i], "--rounds") == 0 && hasValue) {
            benchRounds = std::max(1, QByteArray(argv[++i]).toInt());
        } else {
            std::printf(
                "gastrid_bench [--recipes N] [--rounds N] [--delivered dbRcp.mdb] | --mealmaster N | "
                "--webpages\n"
                "Drives the real program on a generated cookbook of N recipes (default 100000) and\n"
                "prints one \"name: value\" line per figure, in seconds or MB; searches are the best\n"
                "of N rounds (default 3), each beside grep over the same texts.\n"
                "--mealmaster N times reading a MealMaster file of N recipes, storing them and the\n"
                "exports of them, and does nothing else.\n"
                "--webpages times reading hostile web pages up to the 5 MB download limit.\n");
            return qstrcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
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
    print("engine_at_load_mb", double(sqlite3_memory_used()) / 1048576.0);
    runSeekBench(*p->ctx, w, dir.path(), [&] {
        print("memory_after_searches_mb", residentMb());
        print("kept_text_mb", double(w.searchPanel().keptText().bytes()) / 1048576.0);
        print("engine_mb", double(sqlite3_memory_used()) / 1048576.0);
    });
    w.ExitProgram();
    return 0;
}
