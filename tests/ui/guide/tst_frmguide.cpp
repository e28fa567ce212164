// The nutrition guide as a user meets it: opened from the main window's
// hidden command, looking up as one types, a recipe's lines stacked on top.
#include "core/catalogue/Guide.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const char* const Recipes = R"sql(
INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser) VALUES
 (1, 'Pannkakor', 1, '3 dl mjöl' || char(13,10) || '6 dl mjölk'),
 (2, 'Ärtsoppa', 1, 'ärtor'),
 (3, 'Pasta med lax', 1, 'pasta' || char(13,10) || char(13,10) || 'lax'),
 (4, 'Lars'' pytt', 1, NULL);
INSERT INTO tblIngredienser (IID, Ingrediens) VALUES (1, 'Ägg'), (2, 'äggula'), (3, 'mjöl');
)sql";

QStringList rows(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class TestFrmGuide : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;
    QWidget* guide = nullptr;

    template <typename T> T* get(const char* name) { return guide->findChild<T*>(QString::fromLatin1(name)); }

private slots:
    void init()
    {
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        p = t.start();
        QVERIFY(p->ok);
        QPushButton* command = p->window->button(Cmd::Halsoguide);
        QVERIFY(!command->isVisible());
        command->click();
        guide = p->window->findChild<QWidget*>(u"frmGuide"_s);
        QVERIFY(guide && guide->isVisible());
    }
    void cleanup()
    {
        if (!p->window->hasExited())
            p->window->ExitProgram();
        p.reset();
    }

    // While in use the guide stands alone; closing it brings the main window
    // back, and the program goes on.
    void openAndClose()
    {
        QCOMPARE(guide->windowTitle(), u"Hälsoguide"_s);
        QCOMPARE(p->window->activeWindowName(), u"frmGuide"_s);
        QTRY_VERIFY(!p->window->isVisible());
        QCOMPARE(get<QLabel>("lblInfo")->text(), u"Vad har du ätit och druckit idag?"_s);
        get<QPushButton>("cmdGuide_3")->click();
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(guide->findChild<QWidget*>(u"picMode_%1"_s.arg(i))->isVisible(), i == 3);
            QCOMPARE(guide->findChild<QPushButton*>(u"cmdGuide_%1"_s.arg(i))->font().bold(), i == 3);
        }
        get<QPushButton>("cmdClose")->click();
        QTRY_VERIFY(p->window->isVisible());
        QVERIFY(!p->window->hasExited());
        QTRY_VERIFY(p->window->activeWindowName().isEmpty());
    }

    // The typed text is the beginning of a name, in any case, in the
    // cookbook's LIKE; an apostrophe is only a character.
    void lookUps_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("any case") << u"txtRecept"_s << u"PA"_s
                                  << QStringList { u"Pannkakor"_s, u"Pasta med lax"_s };
        QTest::newRow("å ä ö") << u"txtIngrediens"_s << u"ÄG"_s << QStringList { u"Ägg"_s, u"äggula"_s };
        QTest::newRow("apostrophe") << u"txtRecept"_s << u"Lars'"_s << QStringList { u"Lars' pytt"_s };
        QTest::newRow("a beginning, not a part") << u"txtRecept"_s << u"lax"_s << QStringList {};
    }
    void lookUps()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        guide->findChild<QLineEdit*>(box)->setText(text);
        QCOMPARE(rows(get<QListWidget>("lstFood")), found);
    }

    // An empty text asks the cookbook nothing: with no connection only a
    // look-up that runs a query fails.
    void emptyTextRunsNoQuery()
    {
        Database closed;
        QVERIFY(Guide::recipesBeginning(closed, QString())->ids.isEmpty());
        QVERIFY(Guide::ingredientsBeginning(closed, QString())->isEmpty());
        QVERIFY(!Guide::recipesBeginning(closed, u"p"_s).ok());
    }

    // Up and Down move the choice within the look-up list; each recipe
    // chosen puts its lines above those shown before; emptying the text
    // empties the look-up list.
    void lookUpAndStack()
    {
        auto* text = get<QLineEdit>("txtRecept");
        auto* food = get<QListWidget>("lstFood");
        QTest::keyClicks(text, u"pA"_s);
        QCOMPARE(rows(food), (QStringList { u"Pannkakor"_s, u"Pasta med lax"_s }));
        QList<int> chosen;
        for (Qt::Key k : { Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down }) {
            QTest::keyClick(text, k);
            chosen << food->currentRow();
        }
        QCOMPARE(chosen, (QList<int> { 0, 1, 1, 0, 1 }));
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(get<QLabel>("lblIngredienser")->text(), u"Ingredienser i Pasta med lax"_s);
        QVERIFY(!food->isVisibleTo(guide));
        text->clear();
        QCOMPARE(food->count(), 0);
        QTest::keyClicks(text, u"pan"_s);
        get<QPushButton>("cmdAddRecept")->click();
        QCOMPARE(rows(get<QListWidget>("lstIngredienser")),
            (QStringList { u"3 dl mjöl"_s, u"6 dl mjölk"_s, u"pasta"_s, u""_s, u"lax"_s }));
    }
};

QTEST_MAIN(TestFrmGuide)
#include "tst_frmguide.moc"
