// The wastebasket through the windows: a delete taken back with Ctrl+Z or the
// recipe list's context menu, the wastebasket window after a restart, its
// emptying question, and the purge of old entries at start.
#include "support/TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Soppor'), (2, 'Bröd');
INSERT INTO tblRecept (RID, Titel, Kategori, Tid) VALUES (1, 'Ärtsoppa', 1, '2 tim'), (2, 'Limpa', 2, NULL),
  (3, 'Kålsoppa', 1, '1 tim');
)SQL";

const QByteArray Jpg = picture("\xff\xd8\xff\xe0", 30000, 3);

} // namespace

class TestPapperskorg : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;

    template <typename T> T* get(const char* name)
    {
        return widget<T>(p->window.get(), QString::fromLatin1(name));
    }
    QListView* list() { return get<QListView>("lstRecept"); }
    QAction* action(const char* name) { return p->window->findChild<QAction*>(QString::fromLatin1(name)); }
    QString picturePath(qint32 rid) const { return t.path(QStringLiteral("bilder/%1.jpg").arg(rid)); }
    // Marks the recipes and deletes them with the Delete key, answering Ja.
    void deleteRecipes(const QList<qint32>& rids)
    {
        list()->setFocus();
        list()->selectionModel()->clearSelection();
        for (qint32 rid : rids)
            list()->selectionModel()->select(
                list()->model()->index(int(p->window->receptIds().indexOf(rid)), 0),
                QItemSelectionModel::Select);
        t.prompts.queueAnswer(Prompts::Answer::Yes);
        QTest::keyClick(list(), Qt::Key_Delete);
    }
    void start()
    {
        p = t.start();
        QVERIFY(p->ok);
        QVERIFY(QTest::qWaitForWindowActive(p->window.get()));
    }
    QTreeWidget* openWastebasket()
    {
        action("mnuPapperskorgen")->trigger();
        auto* w = p->window->findChild<QWidget*>(QStringLiteral("frmPapperskorg"));
        return w ? w->findChild<QTreeWidget*>(QStringLiteral("lstPapperskorg")) : nullptr;
    }

private slots:
    void init()
    {
        QVERIFY(t.makeCookbook(QString::fromUtf8(Cookbook)));
        QDir().mkpath(t.path(QStringLiteral("bilder")));
        put(picturePath(1), Jpg);
        t.prompts.clearShown();
        start();
    }
    void cleanup() { p.reset(); }

    void deleteAndTakeBack_data();
    void deleteAndTakeBack();
    void wastebasketWindowAfterRestart();
    void emptying_data();
    void emptying();
    void oldEntriesPurgedAtStart();
};

void TestPapperskorg::deleteAndTakeBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("restored");
    QTest::newRow("Ctrl+Z in the list") << "list" << true;
    QTest::newRow("Ctrl+Z in a field with nothing to undo") << "field" << true;
    QTest::newRow("Ctrl+Z in a field takes its typing back first") << "typed" << false;
    QTest::newRow("the context menu's entry") << "menu" << true;
}

void TestPapperskorg::deleteAndTakeBack()
{
    QFETCH(QString, how);
    QFETCH(bool, restored);
    QVERIFY(!action("mnuAngraRadering")->isEnabled());
    deleteRecipes({ 1, 3 });
    QCOMPARE(p->window->receptIds(), QVector<qint32>({ 2 }));
    QVERIFY(!QFile::exists(picturePath(1)));
    QVERIFY(action("mnuAngraRadering")->isEnabled());
    QVERIFY(list()->actions().contains(action("mnuAngraRadering")));
    QVERIFY(list()->actions().contains(action("mnuPapperskorgen")));
    QCOMPARE(action("mnuAngraRadering")->text(), QStringLiteral("Ångra radering"));
    QCOMPARE(action("mnuPapperskorgen")->text(), QStringLiteral("Papperskorgen…"));

    auto* tid = get<QLineEdit>("txtTid");
    if (how == QLatin1String("menu")) {
        action("mnuAngraRadering")->trigger();
    } else if (how == QLatin1String("list")) {
        QTest::keyClick(list(), Qt::Key_Z, Qt::ControlModifier);
    } else {
        tid->setFocus();
        if (how == QLatin1String("typed"))
            QTest::keyClicks(tid, "45 min");
        QTest::keyClick(tid, Qt::Key_Z, Qt::ControlModifier);
    }
    if (!restored) {
        QVERIFY(tid->text().size() < 6);
        QCOMPARE(p->window->receptIds(), QVector<qint32>({ 2 }));
        return;
    }
    // In list order, Kålsoppa first: it is shown.
    QCOMPARE(p->window->receptIds(), QVector<qint32>({ 3, 2, 1 }));
    QCOMPARE(p->window->currentListRid(), 3);
    QCOMPARE(p->window->currentRid(), 3);
    QCOMPARE(get<QLineEdit>("txtTitel")->text(), QStringLiteral("Kålsoppa"));
    QCOMPARE(bytesOf(picturePath(1)), Jpg);
    QVERIFY(!action("mnuAngraRadering")->isEnabled());
    QCOMPARE(t.prompts.unexpected(), 0);
}

void TestPapperskorg::wastebasketWindowAfterRestart()
{
    deleteRecipes({ 1 });
    deleteRecipes({ 2 });
    p.reset();
    put(picturePath(1), picture("GIF89a", 100, 9));
    start();
    QTreeWidget* lst = openWastebasket();
    QVERIFY(lst);
    QWidget* w = lst->window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Papperskorgen"));
    QCOMPARE(lst->topLevelItemCount(), 2);
    // Newest first: title, category, when.
    QCOMPARE(lst->topLevelItem(0)->text(0), QStringLiteral("Limpa"));
    QCOMPARE(lst->topLevelItem(1)->text(1), QStringLiteral("Soppor"));
    QVERIFY(lst->topLevelItem(1)->text(2).startsWith(
        QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    auto* aterstall = w->findChild<QPushButton*>(QStringLiteral("cmdAterstall"));
    QCOMPARE(aterstall->text(), QStringLiteral("Återställ"));
    lst->clearSelection();
    lst->topLevelItem(1)->setSelected(true);
    aterstall->click();
    // Back under its number and category, its picture as it was deleted.
    QCOMPARE(p->window->receptIds(), QVector<qint32>({ 3, 1 }));
    QCOMPARE(p->window->currentRid(), 1);
    QCOMPARE(bytesOf(picturePath(1)), Jpg);
    QCOMPARE(lst->topLevelItemCount(), 1);
    QCOMPARE(lst->topLevelItem(0)->text(0), QStringLiteral("Limpa"));
    // Ctrl+Z in the main window takes the rest back and the window follows.
    action("mnuAngraRadering")->trigger();
    QCOMPARE(lst->topLevelItemCount(), 0);
    QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("cmdTom"))->isEnabled());
    QCOMPARE(t.prompts.unexpected(), 0);
}

void TestPapperskorg::emptying_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("left");
    QTest::newRow("Nej keeps them") << int(Prompts::Answer::No) << 2;
    QTest::newRow("Ja throws them away") << int(Prompts::Answer::Yes) << 0;
}

void TestPapperskorg::emptying()
{
    QFETCH(int, answer);
    QFETCH(int, left);
    deleteRecipes({ 1, 2 });
    QTreeWidget* lst = openWastebasket();
    QVERIFY(lst);
    auto* tom = lst->window()->findChild<QPushButton*>(QStringLiteral("cmdTom"));
    QCOMPARE(tom->text(), QStringLiteral("Töm papperskorgen"));
    t.prompts.clearShown();
    t.prompts.queueAnswer(Prompts::Answer(answer));
    tom->click();
    QCOMPARE(t.prompts.shown().size(), 1);
    QCOMPARE(t.prompts.shown().first().buttons, Prompts::Buttons::YesNo);
    // Enter must not throw them away.
    QCOMPARE(t.prompts.shown().first().defaultButton, Prompts::Answer::No);
    QCOMPARE(lst->topLevelItemCount(), left);
    QCOMPARE(action("mnuAngraRadering")->isEnabled(), left > 0);
    QCOMPARE(p->ctx->db().scalar("SELECT count(*) FROM tblRecept;")->toInt(), 1);
    lst->window()->findChild<QPushButton*>(QStringLiteral("cmdStang"))->click();
    QTRY_VERIFY(!p->window->findChild<QWidget*>(QStringLiteral("frmPapperskorg")));
}

void TestPapperskorg::oldEntriesPurgedAtStart()
{
    deleteRecipes({ 1 });
    deleteRecipes({ 2 });
    p.reset();
    queryValue(t.dbPath(), "UPDATE papperskorg SET Raderad = Raderad - 31 * 86400 WHERE RID = 1;");
    start();
    QCOMPARE(
        p->ctx->db().scalar("SELECT group_concat(RID) FROM papperskorg;")->toString(), QStringLiteral("2"));
}

QTEST_MAIN(TestPapperskorg)
#include "tst_papperskorg.moc"
