// The main window's search panel, driven through its widgets.
#include "search/FrmSeekProgress.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const char* const Recipes = R"sql(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Bakverk'), (2, 'Soppor');
INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES
 (1, 'Pannkakor', 1, '4', '30 min', '3 dl mjöl' || char(13,10) || '6 dl mjölk' || char(13,10) || '3 ägg',
  'Vispa.'),
 (2, 'Ärtsoppa', 2, '6', '2 h', '500 g ärtor' || char(13,10) || 'salt', 'Koka.'),
 (3, 'Zucchinisoppa', 2, '4', '40 min', '2 zucchini' || char(13,10) || 'salt', 'Mixa.'),
 (4, 'Bröd', 1, '1', '3 h', '1 l vetemjöl' || char(13,10) || '1 tsk salt', 'Grädda i ugnen.');
)sql";

QByteArray bytes(const char* hex)
{
    return QByteArray::fromHex(hex);
}

QStringList listEntries(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QWidget* progressWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmSeekProgress"))
            return w;
    return nullptr;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// The started program with its panel's widgets at hand.
struct Panel {
    explicit Panel(TempProgram& t)
        : p(t.start())
    {
        QWidget* w = p->window.get();
        mode = widget<QComboBox>(w, u"cmbSeek"_s);
        list = widget<QListWidget>(w, u"lstSeek"_s);
        add = widget<QLineEdit>(w, u"txtAddSeek"_s);
        edit = widget<QLineEdit>(w, u"txtEditIng"_s);
        text = widget<QLineEdit>(w, u"txtSeek"_s);
        count = widget<QLabel>(w, u"lblRecept"_s);
        recipes = widget<QListView>(w, u"lstRecept"_s);
        titel = widget<QLineEdit>(w, u"txtTitel"_s);
        ingredienser = widget<QPlainTextEdit>(w, u"txtIngredienser"_s);
        for (int i : { 5, 11, 13, 14, 15, 19 })
            button[i] = widget<QPushButton>(w, u"cmdButton_%1"_s.arg(i));
    }
    FrmMain* window() const { return p->window.get(); }
    void addEntries(const QStringList& entries)
    {
        for (const QString& e : entries) {
            add->setText(e);
            button[19]->click();
        }
    }
    QStringList listedTitles() const
    {
        QStringList out;
        for (int r = 0; r < recipes->model()->rowCount(); ++r)
            out << recipes->model()->index(r, 0).data().toString();
        return out;
    }

    std::unique_ptr<Program> p;
    QComboBox* mode = nullptr;
    QListWidget* list = nullptr;
    QLineEdit* add = nullptr;
    QLineEdit* edit = nullptr;
    QLineEdit* text = nullptr;
    QLabel* count = nullptr;
    QListView* recipes = nullptr;
    QLineEdit* titel = nullptr;
    QPlainTextEdit* ingredienser = nullptr;
    QPushButton* button[20] = {};
};

} // namespace

class TestSearchPanel : public QObject {
    Q_OBJECT

private slots:
    void modes()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        QCOMPARE(s.mode->count(), 3);
        QCOMPARE(s.mode->currentIndex(), 0);
        QCOMPARE(s.mode->itemText(0), u"Innehållande någon av följande ingredienser"_s);
        QCOMPARE(s.mode->itemText(1), u"Som kan tillagas med följande ingredienser"_s);
        QCOMPARE(s.mode->itemText(2), u"Innhållande valfri text"_s);
        QVERIFY(!s.text->isVisible());

        s.mode->setCurrentIndex(2);
        QVERIFY(s.text->isVisible());
        QCOMPARE(s.text->text(), u"Skriv in ett sökord"_s);
        QCOMPARE(s.window()->focusWidget(), s.text);
        s.mode->setCurrentIndex(1);
        QVERIFY(!s.text->isVisible());
    }

    void runSeek_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("any ingredient") << 0 << QStringList { u"salt"_s } << QString()
                                        << QStringList { u"Bröd"_s, u"Zucchinisoppa"_s, u"Ärtsoppa"_s };
        QTest::newRow("can be cooked") << 1 << QStringList { u"ärtor"_s, u"salt"_s, u"zucchini"_s }
                                       << QString() << QStringList { u"Zucchinisoppa"_s, u"Ärtsoppa"_s };
        QTest::newRow("free text in instructions")
            << 2 << QStringList() << u"UGNEN"_s << QStringList { u"Bröd"_s };
        QTest::newRow("free text with quote")
            << 2 << QStringList() << u"ärt'"_s << QStringList { u"Ärtsoppa"_s };
        QTest::newRow("no hits") << 0 << QStringList { u"tryffel"_s } << QString() << QStringList();
    }
    void runSeek()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(QStringList, titles);
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        QCOMPARE(s.count->text(), u"4 recept"_s);
        // An edited recipe is on show; the search drops the edit unasked.
        QCOMPARE(s.titel->text(), u"Bröd"_s);
        s.titel->setText(u"Bröd med ändring"_s);
        QVERIFY(s.window()->ReceptChanged);

        s.mode->setCurrentIndex(mode);
        s.addEntries(entries);
        if (mode == 2)
            s.text->setText(text);
        s.button[5]->click();

        QCOMPARE(t.prompts.shown().size(), 0);
        QCOMPARE(s.listedTitles(), titles);
        QCOMPARE(s.count->text(), u"%1 recept"_s.arg(titles.size()));
        QVERIFY(s.window()->isEnabled());
        QVERIFY(!progressWindow());
        QVERIFY(s.window()->ActiveWindowName.isEmpty());
        QCOMPARE(s.window()->CurrentRID, 0);
        QVERIFY(!s.window()->ReceptChanged);
        QVERIFY(s.titel->text().isEmpty());
        QVERIFY(s.ingredienser->toPlainText().isEmpty());
        QVERIFY(!s.button[5]->isDefault());
        QCOMPARE(s.p->ctx->db().scalar("SELECT Titel FROM tblRecept WHERE RID = 4;")->toString(), u"Bröd"_s);

        if (titles.isEmpty())
            return;
        const QModelIndex last = s.recipes->model()->index(int(titles.size()) - 1, 0);
        QTest::mouseClick(s.recipes->viewport(), Qt::LeftButton, {}, s.recipes->visualRect(last).center());
        QCOMPARE(s.titel->text(), titles.last());
        QVERIFY(s.window()->CurrentRID != 0);
    }

    void nothingToSeek()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        s.button[5]->click();
        s.mode->setCurrentIndex(2);
        s.text->clear();
        QTest::keyClick(s.text, Qt::Key_Return);
        QCOMPARE(s.count->text(), u"4 recept"_s);
        QCOMPARE(s.listedTitles().size(), 4);
        QCOMPARE(t.prompts.shown().size(), 0);
    }

    void keyboard()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        s.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.window()));

        s.add->setFocus();
        QVERIFY(s.button[19]->isDefault());
        QTest::keyClicks(s.add, u"salt"_s);
        QTest::keyClick(s.add, Qt::Key_Return);
        QCOMPARE(listEntries(s.list), QStringList { u"salt"_s });
        QVERIFY(s.add->text().isEmpty());

        s.list->setCurrentRow(0);
        s.edit->setFocus();
        QVERIFY(s.button[11]->isDefault());
        QVERIFY(!s.button[19]->isDefault());
        QCOMPARE(s.edit->text(), u"salt"_s);
        s.edit->setText(u"ärtor"_s);
        QTest::keyClick(s.edit, Qt::Key_Enter);
        QCOMPARE(listEntries(s.list), QStringList { u"ärtor"_s });

        s.mode->setCurrentIndex(2);
        QCOMPARE(QApplication::focusWidget(), s.text);
        QVERIFY(s.button[5]->isDefault());
        QVERIFY(!s.button[11]->isDefault());
        QTRY_COMPARE(s.text->selectedText(), u"Skriv in ett sökord"_s);
        // Choosing an entry in free-text mode makes it the search word.
        s.list->setCurrentRow(-1);
        s.list->setCurrentRow(0);
        QCOMPARE(s.text->text(), u"ärtor"_s);
        QTest::keyClick(s.text, Qt::Key_Return);
        QCOMPARE(s.listedTitles(), QStringList { u"Ärtsoppa"_s });
        // Typing goes on where it was, without the search button turning default again.
        QCOMPARE(QApplication::focusWidget(), s.text);
        QVERIFY(!s.button[5]->isDefault());
    }

    void editList()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        s.addEntries({ u"mjöl"_s, u""_s, u" ägg "_s, u"mjöl"_s, u"salt"_s });
        QCOMPARE(listEntries(s.list), (QStringList { u"mjöl"_s, u" ägg "_s, u"mjöl"_s, u"salt"_s }));

        // Editing needs a chosen entry and a text.
        s.edit->setText(u"smör"_s);
        s.button[11]->click();
        QCOMPARE(listEntries(s.list), (QStringList { u"mjöl"_s, u" ägg "_s, u"mjöl"_s, u"salt"_s }));
        QTest::mouseClick(
            s.list->viewport(), Qt::LeftButton, {}, s.list->visualItemRect(s.list->item(1)).center());
        QCOMPARE(s.edit->text(), u" ägg "_s);
        s.edit->clear();
        s.button[11]->click();
        QCOMPARE(s.list->item(1)->text(), u" ägg "_s);
        s.edit->setText(u"smör"_s);
        s.button[11]->click();
        QCOMPARE(listEntries(s.list), (QStringList { u"mjöl"_s, u"smör"_s, u"mjöl"_s, u"salt"_s }));
        QCOMPARE(s.edit->text(), u"smör"_s);

        QTest::keyClick(s.list, Qt::Key_Delete);
        QCOMPARE(listEntries(s.list), (QStringList { u"mjöl"_s, u"mjöl"_s, u"salt"_s }));
        s.list->clearSelection();
        QTest::keyClick(s.list, Qt::Key_Delete);
        QTest::keyClick(s.list, Qt::Key_Backspace);
        QCOMPARE(s.list->count(), 3);
        s.list->item(2)->setSelected(true);
        QTest::keyClick(s.list, Qt::Key_Backspace);
        QCOMPARE(listEntries(s.list), (QStringList { u"mjöl"_s, u"mjöl"_s }));

        s.button[15]->click();
        QCOMPARE(s.list->count(), 0);
        QCOMPARE(t.prompts.shown().size(), 0);
    }

    void saveFridge_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("two entries") << QStringList { u"mjöl"_s, u"ägg"_s }
                                     << bytes("6D6AF66C0D0AE467670D0A");
        QTest::newRow("empty middle") << QStringList { u"a"_s, u""_s, u"b"_s } << bytes("610D0A0D0A620D0A");
        QTest::newRow("only an empty entry") << QStringList { u""_s } << bytes("0D0A");
        QTest::newRow("empty list") << QStringList() << QByteArray();
    }
    void saveFridge()
    {
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, written);
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        s.list->addItems(entries);
        // Taken as chosen: no extension added, an old file overwritten unasked.
        const QString file = t.path(u"skafferi"_s);
        writeFile(file, "gammalt innehåll som är längre än det nya");
        t.prompts.queueFileName(file);
        s.button[14]->click();
        QCOMPARE(t.prompts.shown().size(), 0);
        QCOMPARE(fileBytes(file), written);
        const auto req = t.prompts.fileRequests().value(0);
        QCOMPARE(req.title, u"Spara kylskåp"_s);
        QCOMPARE(req.filter, u"Kylskåp (*.kyl)|*.kyl"_s);
        QCOMPARE(req.folder, t.folder());
        QVERIFY(req.save);

        // And back again.
        s.list->addItem(u"något annat"_s);
        t.prompts.queueFileName(file);
        s.button[13]->click();
        QCOMPARE(listEntries(s.list), entries);
    }

    void saveRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not Windows-1252") << "encoding";
        QTest::newRow("folder not writable") << "folder";
        QTest::newRow("cancelled") << "cancel";
    }
    void saveRefused()
    {
        QFETCH(QString, kind);
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        const QString file = t.path(u"kyl.kyl"_s);
        writeFile(file, "mj\xF6l\r\n");
        const auto kylFiles
            = [&] { return QDir(t.folder()).entryList({ u"*kyl*"_s }, QDir::Files | QDir::Hidden); };
        const QStringList before = kylFiles();
        s.list->addItems({ u"mjöl"_s, kind == u"encoding" ? u"łosoś"_s : u"ägg"_s });
        t.prompts.queueFileName(kind == u"cancel" ? QString()
                : kind == u"folder"               ? t.path(u"saknas/kyl.kyl"_s)
                                                  : file);
        s.button[14]->click();
        QCOMPARE(fileBytes(file), QByteArray("mj\xF6l\r\n"));
        QCOMPARE(kylFiles(), before);
        QCOMPARE(s.list->count(), 2);
        if (kind == u"cancel") {
            QCOMPARE(t.prompts.shown().size(), 0);
            return;
        }
        QCOMPARE(t.prompts.shown().size(), 1);
        const auto& shown = t.prompts.shown().first();
        QCOMPARE(shown.icon, Prompts::Icon::Critical);
        QVERIFY2(shown.text.contains(u"kyl.kyl"_s), qPrintable(shown.text));
        if (kind == u"encoding")
            QVERIFY2(shown.text.contains(u"ł"_s) && shown.text.contains(u"ś"_s), qPrintable(shown.text));
    }

    void openFridge_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("last line open")
            << QByteArray("mj\xF6l\r\n\xE4gg") << QStringList { u"mjöl"_s, u"ägg"_s };
        QTest::newRow("no trailing empty entry") << QByteArray("mj\xF6l\r\n") << QStringList { u"mjöl"_s };
        QTest::newRow("empty middle kept")
            << QByteArray("a\r\n\r\nb\r\n") << QStringList { u"a"_s, u""_s, u"b"_s };
        QTest::newRow("empty file") << QByteArray() << QStringList();
    }
    void openFridge()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, entries);
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        s.list->addItems({ u"gammal"_s, u"lista"_s });
        const QString file = t.path(u"kyl.kyl"_s);
        writeFile(file, content);
        t.prompts.queueFileName(file);
        s.button[13]->click();
        QCOMPARE(t.prompts.shown().size(), 0);
        QCOMPARE(listEntries(s.list), entries);
        QCOMPARE(t.prompts.fileRequests().value(0).title, u"Öppna kylskåp"_s);
        QCOMPARE(t.prompts.fileRequests().value(0).folder, t.folder());
        QVERIFY(!t.prompts.fileRequests().value(0).save);
    }

    void openRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("missing") << u"saknas.kyl"_s;
        QTest::newRow("a folder") << u"mapp.kyl"_s;
    }
    void openRefused()
    {
        QFETCH(QString, name);
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        QVERIFY(QDir(t.folder()).mkdir(u"mapp.kyl"_s));
        Panel s(t);
        s.list->addItems({ u"gammal"_s, u"lista"_s });
        t.prompts.queueFileName(name.isEmpty() ? QString() : t.path(name));
        s.button[13]->click();
        QCOMPARE(listEntries(s.list), (QStringList { u"gammal"_s, u"lista"_s }));
        QCOMPARE(t.prompts.shown().size(), name.isEmpty() ? 0 : 1);
        if (!name.isEmpty())
            QVERIFY2(
                t.prompts.shown().first().text.contains(name), qPrintable(t.prompts.shown().first().text));
    }

    void databaseFailure()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Panel s(t);
        QVERIFY(s.p->ctx->db().exec("DROP TABLE tblRecept;"));
        s.mode->setCurrentIndex(1);
        s.addEntries({ u"salt"_s });
        s.button[5]->click();
        QCOMPARE(t.prompts.shown().size(), 1);
        const auto& shown = t.prompts.shown().first();
        QCOMPARE(shown.icon, Prompts::Icon::Critical);
        QVERIFY2(shown.text.contains(u"\n\nno such table: tblRecept 1"_s), qPrintable(shown.text));
        QVERIFY(s.window()->isEnabled());
        QVERIFY(!progressWindow());
        QVERIFY(s.window()->ActiveWindowName.isEmpty());
    }

    // A large cookbook, stopped from the progress window as soon as it shows.
    void cancelLargeSearch()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser) "
            "SELECT i, printf('Recept %05d', 20001 - i), 1, '2 dl mjöl' || char(13,10) || '1 ägg' "
            "FROM n;"_s));
        Panel s(t);
        s.mode->setCurrentIndex(1);
        s.addEntries({ u"mjöl"_s, u"ägg"_s });
        s.button[5]->click();
        QCOMPARE(s.count->text(), u"20000 recept"_s);
        s.mode->setCurrentIndex(2);
        s.text->setText(u"Recept 0000"_s);
        s.button[5]->click();
        QCOMPARE(s.count->text(), u"9 recept"_s);
        s.mode->setCurrentIndex(1);

        struct Seen {
            bool clicked = false;
            QString caption, label, cancelText, active, countDuring;
            bool mainEnabled = true;
        } seen;
        std::function<void()> cancelWhenShown = [&] {
            QWidget* w = progressWindow();
            if (!w || !w->isVisible()) {
                QTimer::singleShot(0, cancelWhenShown);
                return;
            }
            seen.caption = w->windowTitle();
            seen.label = widget<QLabel>(w, u"lblSeekProgress"_s)->text();
            seen.active = s.window()->ActiveWindowName;
            seen.mainEnabled = s.window()->isEnabled();
            // A second search meanwhile must not start.
            s.window()->RunSeek();
            seen.countDuring = s.count->text();
            auto* cancel = widget<QPushButton>(w, u"cmdCancel"_s);
            seen.cancelText = cancel->text();
            cancel->click();
            seen.clicked = true;
        };
        QTimer::singleShot(0, cancelWhenShown);
        s.button[5]->click();

        QVERIFY(seen.clicked);
        QCOMPARE(seen.caption, u"Söker"_s);
        QCOMPARE(seen.label, u"Söker recept"_s);
        QCOMPARE(seen.cancelText, u"Avbryt"_s);
        QCOMPARE(seen.active, u"frmSeekProgress"_s);
        QVERIFY(!seen.mainEnabled);
        QCOMPARE(seen.countDuring, u"9 recept"_s);

        QVERIFY(s.window()->isEnabled());
        QVERIFY(!progressWindow());
        QVERIFY(s.window()->ActiveWindowName.isEmpty());
        QCOMPARE(t.prompts.shown().size(), 0);
        const QStringList hits = s.listedTitles();
        QVERIFY2(hits.size() < 20000, qPrintable(s.count->text()));
        QCOMPARE(s.count->text(), u"%1 recept"_s.arg(hits.size()));
        // Recipes are tested from the lowest number, whose titles come last.
        for (const QString& h : hits)
            QVERIFY2(h > u"Recept 19000"_s, qPrintable(h));
    }

    void closingDuringSearch()
    {
        TempProgram t;
        QVERIFY(
            t.makeCookbook(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                           "INSERT INTO tblRecept (Titel, Kategori, Ingredienser) SELECT 'R' || i, 1, 'salt' "
                           "FROM n;"_s));
        Panel s(t);
        s.addEntries({ u"salt"_s });
        QTimer::singleShot(0, s.window(), [&] { s.window()->close(); });
        s.button[5]->click();
        QVERIFY(s.window()->hasExited());
        QVERIFY(!s.p->ctx->db().isOpen());
        QVERIFY(!progressWindow());
        QCOMPARE(queryValue(t.dbPath(), "SELECT count(*) FROM tblRecept;").toInt(), 2000);
    }

    void progressBar_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("width");
        QTest::newRow("start") << 0 << 100000 << 0;
        QTest::newRow("half") << 50000 << 100000 << 120;
        QTest::newRow("all") << 100000 << 100000 << FrmSeekProgress::BarWidth;
        QTest::newRow("large counts") << 2000000000 << 2000000000 << FrmSeekProgress::BarWidth;
        QTest::newRow("no recipes") << 0 << 0 << 0;
    }
    void progressBar()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(int, width);
        Prompts prompts;
        AppContext ctx(QDir::tempPath(), prompts);
        FrmSeekProgress w(ctx);
        w.setProgress(done, total);
        QCOMPARE(w.barWidth(), width);
    }
};

QTEST_MAIN(TestSearchPanel)
#include "tst_searchpanel.moc"
