// The main window's search panel, driven through its widgets.
#include "support/TestSupport.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>

#include <sys/stat.h>
#include <unistd.h>

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

// The started program in its own folder, with the panel's widgets at hand.
struct Panel {
    explicit Panel(const QString& sql = QString::fromUtf8(Recipes))
        : p(t.makeCookbook(sql) ? t.start() : nullptr)
    {
    }
    template <typename T> T* find(const QString& name) const { return w ? widget<T>(w, name) : nullptr; }
    QPushButton* button(int i) const { return find<QPushButton>(u"cmdButton_%1"_s.arg(i)); }
    void addEntries(const QStringList& entries)
    {
        for (const QString& e : entries) {
            add->setText(e);
            button(19)->click();
        }
    }

    TempProgram t;
    std::unique_ptr<Program> p;
    FrmMain* w = p ? p->window.get() : nullptr;
    QComboBox* mode = find<QComboBox>(u"cmbSeek"_s);
    QListWidget* list = find<QListWidget>(u"lstSeek"_s);
    QLineEdit *add = find<QLineEdit>(u"txtAddSeek"_s), *edit = find<QLineEdit>(u"txtEditIng"_s);
    QLineEdit *text = find<QLineEdit>(u"txtSeek"_s), *titel = find<QLineEdit>(u"txtTitel"_s);
    QLabel* count = find<QLabel>(u"lblRecept"_s);
    QListView* recipes = find<QListView>(u"lstRecept"_s);
};

} // namespace

class TestSearchPanel : public QObject {
    Q_OBJECT
    std::unique_ptr<Panel> s;

    void expectOneCritical(const QStringList& parts)
    {
        QCOMPARE(s->t.prompts.shown().size(), parts.isEmpty() ? 0 : 1);
        for (const QString& part : parts) {
            QCOMPARE(s->t.prompts.shown().first().icon, Prompts::Icon::Critical);
            QVERIFY2(s->t.prompts.shown().first().text.contains(part),
                qPrintable(s->t.prompts.shown().first().text));
        }
    }

private slots:
    void init()
    {
        s = std::make_unique<Panel>();
        QVERIFY(s->w);
    }

    void runSeek_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("store");
        // Each rule would give another list, so the mode is the one chosen.
        QTest::newRow("any ingredient, edit dropped")
            << 0 << QStringList { u"salt"_s } << QStringList { u"Bröd"_s, u"Zucchinisoppa"_s, u"Ärtsoppa"_s }
            << false;
        QTest::newRow("can be cooked, edit stored")
            << 1 << QStringList { u"ärtor"_s, u"salt"_s, u"zucchini"_s }
            << QStringList { u"Zucchinisoppa"_s, u"Ärtsoppa"_s } << true;
        QTest::newRow("one ingredient to buy")
            << 3 << QStringList { u"ärtor"_s, u"2 zucchini"_s }
            << QStringList { u"Zucchinisoppa (saknar: salt)"_s, u"Ärtsoppa (saknar: salt)"_s } << false;
    }
    void runSeek()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, titles);
        QFETCH(bool, store);
        // The texts the searches read are kept while the program waits.
        QTRY_VERIFY(s->w->searchPanel().keptText().isComplete());
        // An edited recipe is on show and its field keeps the focus: the
        // search asks about the edit first, as leaving the field would.
        s->mode->setCurrentIndex(mode);
        s->addEntries(entries);
        QCOMPARE(s->titel->text(), u"Bröd"_s);
        s->titel->setText(u"Bröd med ändring"_s);
        s->t.prompts.queueAnswer(store ? Prompts::Answer::Yes : Prompts::Answer::No);
        // A small cookbook's list is filled when the click returns, as a
        // driver clicking and then reading expects.
        s->button(5)->click();
        QVERIFY(!s->w->searchPanel().isSeeking());
        QCOMPARE(s->t.prompts.pendingAnswers(), 0);
        QCOMPARE(rows(s->recipes), titles);
        QCOMPARE(s->count->text(), u"%1 recept"_s.arg(titles.size()));
        QVERIFY(s->w->isEnabled());
        QVERIFY(!s->w->receptChanged());
        QVERIFY(s->titel->text().isEmpty());
        // With no recipe shown there is nothing to store typing into.
        QTest::keyClicks(s->titel, u"x"_s);
        QVERIFY(s->titel->text().isEmpty());
        QVERIFY(!s->w->receptChanged());
        QCOMPARE(s->t.prompts.shown().size(), 1);
        QCOMPARE(s->p->ctx->db().scalar("SELECT Titel FROM tblRecept WHERE RID = 4;")->toString(),
            store ? u"Bröd med ändring"_s : u"Bröd"_s);

        const QModelIndex last = s->recipes->model()->index(int(titles.size()) - 1, 0);
        QTest::mouseClick(s->recipes->viewport(), Qt::LeftButton, {}, s->recipes->visualRect(last).center());
        QCOMPARE(s->titel->text(), titles.last().section(u" (saknar:"_s, 0, 0));
    }

    void listAndModes()
    {
        s->w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s->w));
        // Empty text adds nothing; spaces stay.
        s->addEntries({ u"mjöl"_s, u""_s, u" ägg "_s });
        QTest::keyClicks(s->add, u"salt"_s);
        QTest::keyClick(s->add, Qt::Key_Return);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u" ägg "_s, u"salt"_s }));

        // Editing and removing need a chosen entry.
        s->edit->setText(u"smör"_s);
        QTest::keyClick(s->edit, Qt::Key_Enter);
        QTest::keyClick(s->list, Qt::Key_Delete);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u" ägg "_s, u"salt"_s }));
        QTest::mouseClick(
            s->list->viewport(), Qt::LeftButton, {}, s->list->visualItemRect(s->list->item(1)).center());
        QCOMPARE(s->edit->text(), u" ägg "_s);
        s->edit->setText(u"ärtor"_s);
        QTest::keyClick(s->edit, Qt::Key_Enter);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u"ärtor"_s, u"salt"_s }));
        QTest::keyClick(s->list, Qt::Key_Delete);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u"salt"_s }));
        // Nothing takes the removed entry's place.
        QCOMPARE(s->edit->text(), u"ärtor"_s);
        QTest::keyClick(s->list, Qt::Key_Delete);
        QCOMPARE(rows(s->list), (QStringList { u"mjöl"_s, u"salt"_s }));

        // The hint is selected so typing replaces it.
        s->mode->setCurrentIndex(2);
        QVERIFY(s->text->isVisible());
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

        s->button(15)->click();
        QCOMPARE(s->list->count(), 0);
    }

    // The file is "skafferi.kyl"; a name typed without an extension is saved
    // with one, so the open dialog lists it. An open replaces the list; a save
    // replaces the old file unasked. When either fails or is cancelled, the
    // list and the file stay as they were.
    void fridge_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("told");
        const QByteArray two = QByteArray::fromHex("6D6AF66C0D0AE467670D0A");
        const QStringList twoEntries { u"mjöl"_s, u"ägg"_s }, none;
        QTest::newRow("open: no trailing empty entry")
            << false << u"skafferi.kyl"_s << twoEntries << two << none;
        QTest::newRow("open: last line open")
            << false << u"skafferi.kyl"_s << twoEntries << QByteArray("mj\xF6l\r\n\xE4gg") << none;
        QTest::newRow("open: empty middle kept")
            << false << u"skafferi.kyl"_s << QStringList { u"a"_s, u""_s, u"b"_s }
            << QByteArray("a\r\n\r\nb\r\n") << none;
        QTest::newRow("open: missing")
            << false << u"saknas.kyl"_s << none << two << QStringList { u"saknas.kyl"_s };
        QTest::newRow("open: a folder")
            << false << u"mapp.kyl"_s << none << two << QStringList { u"mapp.kyl"_s };
        // Anything but a regular file of sane size is refused before it can hang the window.
        QTest::newRow("open: endless device")
            << false << u"noll.kyl"_s << none << two << QStringList { u"noll.kyl"_s, u"ingen vanlig fil"_s };
        QTest::newRow("open: pipe without writer")
            << false << u"rör.kyl"_s << none << two << QStringList { u"rör.kyl"_s, u"ingen vanlig fil"_s };
        QTest::newRow("open: over 1 MB")
            << false << u"skafferi.kyl"_s << none << QByteArray(1024 * 1024 + 1, 'a')
            << QStringList { u"skafferi.kyl"_s, u"1 MB"_s };
        QTest::newRow("open: exactly 1 MB")
            << false << u"skafferi.kyl"_s << QStringList { QString(1024 * 1024 - 2, u'a') }
            << QByteArray(1024 * 1024 - 2, 'a') + "\r\n"
            << none;
        QTest::newRow("open: cancelled") << false << QString() << none << two << none;
        QTest::newRow("save: two entries") << true << u"skafferi.kyl"_s << twoEntries << two << none;
        QTest::newRow("save: typed without extension") << true << u"skafferi"_s << twoEntries << two << none;
        QTest::newRow("save: not Windows-1252")
            << true << u"skafferi"_s << QStringList { u"mjöl"_s, u"łosoś"_s } << QByteArray()
            << QStringList { u"skafferi"_s, u"ł"_s, u"ś"_s };
        QTest::newRow("save: folder missing")
            << true << u"saknas/skafferi"_s << twoEntries << QByteArray() << QStringList { u"skafferi"_s };
        QTest::newRow("save: cancelled") << true << QString() << twoEntries << QByteArray() << none;
    }
    void fridge()
    {
        QFETCH(bool, save);
        QFETCH(QString, chosen);
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, told);
        const QByteArray old("gammalt innehåll som är längre än det nya");
        const QStringList before = save ? entries : QStringList { u"gammal"_s };
        QVERIFY(QDir(s->t.folder()).mkdir(u"mapp.kyl"_s));
        QVERIFY(QFile::link(u"/dev/zero"_s, s->t.path(u"noll.kyl"_s)));
        QCOMPARE(::mkfifo(QFile::encodeName(s->t.path(u"rör.kyl"_s)).constData(), 0600), 0);
        QFile file(s->t.path(u"skafferi.kyl"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(save ? old : bytes);
        file.close();
        // A saved file keeps the mode and owner the user gave it.
        const QByteArray name = QFile::encodeName(file.fileName());
        QCOMPARE(::chmod(name.constData(), 0640), 0);
        const bool root = ::geteuid() == 0;
        if (root)
            QCOMPARE(::chown(name.constData(), 1234, 1234), 0);
        s->list->addItems(before);
        s->t.prompts.queueFileName(chosen.isEmpty() ? QString() : s->t.path(chosen));
        s->button(save ? 14 : 13)->click();
        const bool done = told.isEmpty() && !chosen.isEmpty();
        QCOMPARE(rows(s->list), done ? entries : before);
        QCOMPARE(fileBytes(file.fileName()), save && !done ? old : bytes);
        expectOneCritical(told);
        struct stat st { };
        QCOMPARE(::stat(name.constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), 0640);
        QCOMPARE(int(st.st_uid), root ? 1234 : int(::geteuid()));
        QCOMPARE(s->t.prompts.fileRequests().size(), 1);
        QCOMPARE(s->t.prompts.fileRequests().first().folder, s->t.folder());
    }

    void databaseFailure()
    {
        QVERIFY(s->p->ctx->db().exec("DROP TABLE tblRecept;"));
        s->mode->setCurrentIndex(1);
        s->addEntries({ u"salt"_s });
        s->button(5)->click();
        QTRY_VERIFY(!s->w->searchPanel().isSeeking());
        expectOneCritical({ u"no such table: tblRecept"_s });
        QVERIFY(s->w->isEnabled());
        QVERIFY(!progressWindow());
    }

    // A large cookbook: the search runs while the event loop turns. Stopped
    // from the progress window, or by closing it, it keeps the hits so far;
    // closing the program meanwhile ends it without a word.
    void largeSearch_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("to the end") << u"none"_s;
        QTest::newRow("Avbryt") << u"cancel"_s;
        QTest::newRow("window closed") << u"close"_s;
        QTest::newRow("program closed") << u"exit"_s;
    }
    void largeSearch()
    {
        QFETCH(QString, how);
        constexpr int Recipes = 20000;
        s.reset();
        s = std::make_unique<Panel>(
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser) "
            "SELECT i, printf('Recept %05d', i), 1, '2 dl mjöl' || char(13,10) || '1 ägg' FROM n;"_s.arg(
                Recipes));
        QVERIFY(s->w);
        s->mode->setCurrentIndex(1);
        s->addEntries({ u"mjöl"_s, u"ägg"_s });

        s->button(5)->click();
        QWidget* const progress = progressWindow();
        QVERIFY(progress && progress->isVisible());
        QVERIFY(!s->w->isEnabled());
        // A second request while one runs is not heard.
        emit s->w->searchPanel().seekRequested();
        if (how == u"cancel"_s)
            widget<QPushButton>(progress, u"cmdCancel"_s)->click();
        else if (how == u"close"_s)
            progress->close();
        else if (how == u"exit"_s)
            QVERIFY(s->w->ExitProgram());
        QTRY_VERIFY_WITH_TIMEOUT(!s->w->searchPanel().isSeeking(), 60000);
        QVERIFY(!progressWindow());
        QCOMPARE(s->t.prompts.shown().size(), 0);
        if (how == u"exit"_s)
            return;
        QVERIFY(s->w->isEnabled());
        QVERIFY(s->w->activeWindowName().isEmpty());
        const qsizetype hits = rows(s->recipes).size();
        if (how == u"none"_s)
            QCOMPARE(hits, Recipes);
        else
            QVERIFY2(hits < Recipes, qPrintable(s->count->text()));
        QCOMPARE(s->count->text(), u"%1 recept"_s.arg(hits));
    }
};

QTEST_MAIN(TestSearchPanel)
#include "tst_searchpanel.moc"
