// The main window's search panel, driven through its widgets.
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const char* const Recipes = R"sql(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Bakverk'), (2, 'Soppor');
INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser, Anvisningar) VALUES
 (1, 'Pannkakor', 1, '3 dl mjöl' || char(13,10) || '6 dl mjölk' || char(13,10) || '3 ägg', 'Vispa.'),
 (2, 'Ärtsoppa', 2, '500 g ärtor' || char(13,10) || 'salt', 'Koka.'),
 (3, 'Zucchinisoppa', 2, '2 zucchini' || char(13,10) || 'salt', 'Mixa.'),
 (4, 'Bröd', 1, '1 l vetemjöl' || char(13,10) || '1 tsk salt', 'Grädda i ugnen.');
)sql";

QWidget* progressWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmSeekProgress"))
            return w;
    return nullptr;
}

QStringList rows(QAbstractItemView* view)
{
    QStringList out;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        out << view->model()->index(r, 0).data().toString();
    return out;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// The started program in its own folder, with the panel's widgets at hand.
struct Panel {
    explicit Panel(const QString& sql = QString::fromUtf8(Recipes))
    {
        if (t.makeCookbook(sql))
            p = t.start();
        if (!p || !p->window)
            return;
        QWidget* w = p->window.get();
        mode = widget<QComboBox>(w, u"cmbSeek"_s);
        list = widget<QListWidget>(w, u"lstSeek"_s);
        add = widget<QLineEdit>(w, u"txtAddSeek"_s);
        edit = widget<QLineEdit>(w, u"txtEditIng"_s);
        text = widget<QLineEdit>(w, u"txtSeek"_s);
        count = widget<QLabel>(w, u"lblRecept"_s);
        recipes = widget<QListView>(w, u"lstRecept"_s);
        titel = widget<QLineEdit>(w, u"txtTitel"_s);
        for (int i : { 5, 11, 13, 14, 15, 19 })
            button[i] = widget<QPushButton>(w, u"cmdButton_%1"_s.arg(i));
    }
    bool ok() const { return p && p->window; }
    FrmMain* window() const { return p->window.get(); }
    void addEntries(const QStringList& entries)
    {
        for (const QString& e : entries) {
            add->setText(e);
            button[19]->click();
        }
    }

    TempProgram t;
    std::unique_ptr<Program> p;
    QComboBox* mode = nullptr;
    QListWidget* list = nullptr;
    QLineEdit *add = nullptr, *edit = nullptr, *text = nullptr, *titel = nullptr;
    QLabel* count = nullptr;
    QListView* recipes = nullptr;
    QPushButton* button[20] = {};
};

} // namespace

class TestSearchPanel : public QObject {
    Q_OBJECT
    std::unique_ptr<Panel> s;

private slots:
    void init()
    {
        s = std::make_unique<Panel>();
        QVERIFY(s->ok());
    }

    void runSeek_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("titles");
        // Free text searches for the first entry instead.
        QTest::newRow("any ingredient")
            << 0 << QStringList { u"salt"_s } << QStringList { u"Bröd"_s, u"Zucchinisoppa"_s, u"Ärtsoppa"_s };
        QTest::newRow("can be cooked") << 1 << QStringList { u"ärtor"_s, u"salt"_s, u"zucchini"_s }
                                       << QStringList { u"Zucchinisoppa"_s, u"Ärtsoppa"_s };
        QTest::newRow("free text") << 2 << QStringList { u"UGNEN"_s } << QStringList { u"Bröd"_s };
        // Nothing to search for leaves the list as it was.
        QTest::newRow("empty free text")
            << 2 << QStringList { QString() }
            << QStringList { u"Bröd"_s, u"Pannkakor"_s, u"Zucchinisoppa"_s, u"Ärtsoppa"_s };
    }
    void runSeek()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, titles);
        // An edited recipe is on show; the search drops the edit unasked.
        QCOMPARE(s->titel->text(), u"Bröd"_s);
        s->titel->setText(u"Bröd med ändring"_s);
        QVERIFY(s->window()->ReceptChanged);

        s->mode->setCurrentIndex(mode);
        if (mode == 2)
            s->text->setText(entries.value(0));
        else
            s->addEntries(entries);
        s->button[5]->click();
        QCOMPARE(rows(s->recipes), titles);
        QCOMPARE(s->count->text(), u"%1 recept"_s.arg(titles.size()));
        QVERIFY(s->window()->isEnabled());
        QVERIFY(!s->window()->ReceptChanged);
        QVERIFY(s->titel->text().isEmpty());
        QCOMPARE(s->p->ctx->db().scalar("SELECT Titel FROM tblRecept WHERE RID = 4;")->toString(), u"Bröd"_s);

        const QModelIndex last = s->recipes->model()->index(int(titles.size()) - 1, 0);
        QTest::mouseClick(s->recipes->viewport(), Qt::LeftButton, {}, s->recipes->visualRect(last).center());
        QCOMPARE(s->titel->text(), titles.last());
    }

    void listAndModes()
    {
        s->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s->window()));
        QVERIFY(!s->text->isVisible());
        // Empty text adds nothing; spaces stay.
        s->addEntries({ u"mjöl"_s, u""_s, u" ägg "_s });
        QTest::keyClicks(s->add, u"salt"_s);
        QTest::keyClick(s->add, Qt::Key_Return);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u" ägg "_s, u"salt"_s }));
        QVERIFY(s->add->text().isEmpty());

        // Editing needs a chosen entry.
        s->edit->setText(u"smör"_s);
        QTest::keyClick(s->edit, Qt::Key_Enter);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u" ägg "_s, u"salt"_s }));
        QTest::mouseClick(
            s->list->viewport(), Qt::LeftButton, {}, s->list->visualItemRect(s->list->item(1)).center());
        QCOMPARE(s->edit->text(), u" ägg "_s);
        s->edit->setText(u"ärtor"_s);
        QTest::keyClick(s->edit, Qt::Key_Enter);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u"ärtor"_s, u"salt"_s }));
        QTest::keyClick(s->list, Qt::Key_Delete);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u"salt"_s }));
        s->list->clearSelection();
        QTest::keyClick(s->list, Qt::Key_Delete);
        QCOMPARE(s->list->count(), 2);

        // The hint is selected so typing replaces it.
        s->mode->setCurrentIndex(2);
        QVERIFY(s->text->isVisible());
        QCOMPARE(QApplication::focusWidget(), s->text);
        QTRY_COMPARE(s->text->selectedText(), u"Skriv in ett sökord"_s);
        // Choosing an entry in free-text mode makes it the search word.
        s->list->setCurrentRow(-1);
        s->list->setCurrentRow(0);
        QCOMPARE(s->text->text(), u"mjöl"_s);
        QTest::keyClick(s->text, Qt::Key_Return);
        QCOMPARE(rows(s->recipes), (QStringList { u"Bröd"_s, u"Pannkakor"_s }));
        QCOMPARE(QApplication::focusWidget(), s->text);
        s->mode->setCurrentIndex(1);
        QVERIFY(!s->text->isVisible());

        s->button[15]->click();
        QCOMPARE(s->list->count(), 0);
    }

    // Opened from one file and saved to another: the list as read, the bytes as written.
    void fridgeFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("written");
        const QByteArray two = QByteArray::fromHex("6D6AF66C0D0AE467670D0A");
        QTest::newRow("two entries, no trailing empty one")
            << two << QStringList { u"mjöl"_s, u"ägg"_s } << two;
        QTest::newRow("last line open")
            << QByteArray("mj\xF6l\r\n\xE4gg") << QStringList { u"mjöl"_s, u"ägg"_s } << two;
        QTest::newRow("empty middle kept")
            << QByteArray("a\r\n\r\nb\r\n") << QStringList { u"a"_s, u""_s, u"b"_s }
            << QByteArray("a\r\n\r\nb\r\n");
        QTest::newRow("only an empty entry")
            << QByteArray("\r\n") << QStringList { u""_s } << QByteArray("\r\n");
        QTest::newRow("empty file") << QByteArray() << QStringList() << QByteArray();
    }
    void fridgeFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, written);
        s->list->addItems({ u"gammal"_s, u"lista"_s });
        const QString in = s->t.path(u"kyl.kyl"_s);
        writeFile(in, content);
        s->t.prompts.queueFileName(in);
        s->button[13]->click();
        QCOMPARE(rows(s->list), entries);

        // Taken as chosen: no extension added, an old file overwritten unasked.
        const QString out = s->t.path(u"skafferi"_s);
        writeFile(out, "gammalt innehåll som är längre än det nya");
        s->t.prompts.queueFileName(out);
        s->button[14]->click();
        QCOMPARE(fileBytes(out), written);
        QCOMPARE(s->t.prompts.shown().size(), 0);
        for (const auto& request : s->t.prompts.fileRequests())
            QCOMPARE(request.folder, s->t.folder());
    }

    // Nothing is lost: the list and the file on disk stay as they were.
    void fridgeRefused_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("save: not Windows-1252")
            << true << u"kyl.kyl"_s << u"łosoś"_s << QStringList { u"kyl.kyl"_s, u"ł"_s, u"ś"_s };
        QTest::newRow("save: folder missing")
            << true << u"saknas/kyl.kyl"_s << u"ägg"_s << QStringList { u"kyl.kyl"_s };
        QTest::newRow("save: cancelled") << true << QString() << u"ägg"_s << QStringList();
        QTest::newRow("open: missing")
            << false << u"saknas.kyl"_s << u"ägg"_s << QStringList { u"saknas.kyl"_s };
        QTest::newRow("open: a folder")
            << false << u"mapp.kyl"_s << u"ägg"_s << QStringList { u"mapp.kyl"_s };
        QTest::newRow("open: cancelled") << false << QString() << u"ägg"_s << QStringList();
    }
    void fridgeRefused()
    {
        QFETCH(bool, save);
        QFETCH(QString, chosen);
        QFETCH(QString, entry);
        QFETCH(QStringList, told);
        QVERIFY(QDir(s->t.folder()).mkdir(u"mapp.kyl"_s));
        const QString file = s->t.path(u"kyl.kyl"_s);
        writeFile(file, "mj\xF6l\r\n");
        s->list->addItems({ u"mjöl"_s, entry });
        s->t.prompts.queueFileName(chosen.isEmpty() ? QString() : s->t.path(chosen));
        s->button[save ? 14 : 13]->click();
        QCOMPARE(fileBytes(file), QByteArray("mj\xF6l\r\n"));
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, entry }));
        QCOMPARE(s->t.prompts.shown().size(), told.isEmpty() ? 0 : 1);
        for (const QString& part : told) {
            QCOMPARE(s->t.prompts.shown().first().icon, Prompts::Icon::Critical);
            QVERIFY2(s->t.prompts.shown().first().text.contains(part),
                qPrintable(s->t.prompts.shown().first().text));
        }
    }

    void databaseFailure()
    {
        QVERIFY(s->p->ctx->db().exec("DROP TABLE tblRecept;"));
        s->mode->setCurrentIndex(1);
        s->addEntries({ u"salt"_s });
        s->button[5]->click();
        QCOMPARE(s->t.prompts.shown().size(), 1);
        QCOMPARE(s->t.prompts.shown().first().icon, Prompts::Icon::Critical);
        QVERIFY2(s->t.prompts.shown().first().text.contains(u"no such table: tblRecept"_s),
            qPrintable(s->t.prompts.shown().first().text));
        QVERIFY(s->window()->isEnabled());
        QVERIFY(!progressWindow());
    }

    // A large cookbook: a search stopped from the progress window as soon as
    // it shows, then one ended by closing the program.
    void stopLargeSearch()
    {
        s.reset();
        s = std::make_unique<Panel>(
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
            "INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser) "
            "SELECT i, printf('Recept %05d', i), 1, '2 dl mjöl' || char(13,10) || '1 ägg' FROM n;"_s);
        QVERIFY(s->ok());
        // A count that a second, nested search would change.
        s->mode->setCurrentIndex(2);
        s->text->setText(u"Recept 0000"_s);
        s->button[5]->click();
        QCOMPARE(s->count->text(), u"9 recept"_s);
        s->mode->setCurrentIndex(1);
        s->addEntries({ u"mjöl"_s, u"ägg"_s });

        bool clicked = false, enabledDuring = true;
        QString countDuring;
        std::function<void()> cancelWhenShown = [&] {
            QWidget* w = progressWindow();
            if (!w || !w->isVisible()) {
                QTimer::singleShot(0, cancelWhenShown);
                return;
            }
            enabledDuring = s->window()->isEnabled();
            s->window()->RunSeek();
            countDuring = s->count->text();
            widget<QPushButton>(w, u"cmdCancel"_s)->click();
            clicked = true;
        };
        QTimer::singleShot(0, cancelWhenShown);
        s->button[5]->click();
        QVERIFY(clicked);
        QVERIFY(!enabledDuring);
        QCOMPARE(countDuring, u"9 recept"_s);
        QVERIFY(s->window()->isEnabled());
        QVERIFY(!progressWindow());
        QVERIFY(s->window()->ActiveWindowName.isEmpty());
        QCOMPARE(s->t.prompts.shown().size(), 0);
        const qsizetype hits = rows(s->recipes).size();
        QVERIFY2(hits < 20000, qPrintable(s->count->text()));
        QCOMPARE(s->count->text(), u"%1 recept"_s.arg(hits));

        QTimer::singleShot(0, s->window(), [&] { s->window()->close(); });
        s->button[5]->click();
        QVERIFY(s->window()->hasExited());
        QVERIFY(!s->p->ctx->db().isOpen());
        QVERIFY(!progressWindow());
        QCOMPARE(queryValue(s->t.dbPath(), "SELECT count(*) FROM tblRecept;").toInt(), 20000);
    }
};

QTEST_MAIN(TestSearchPanel)
#include "tst_searchpanel.moc"
