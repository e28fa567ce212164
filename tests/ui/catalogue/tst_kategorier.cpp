// The category window, driven from the main window, and what the main window's lists show after it.
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

// Insertion order is not name order; 'Fel' is refused by the engine.
const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor'), (2, 'Bröd'), (3, 'Soppor');
INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (1, 'Kladdkaka', 1), (2, 'Mazarin', 1), (3, 'Limpa', 2);
CREATE TRIGGER refuse BEFORE INSERT ON tblKategorier WHEN NEW.Kategori = 'Fel'
  BEGIN SELECT RAISE(ABORT, 'refused'); END;
)SQL";

QStringList items(const QAbstractItemModel* m)
{
    QStringList out;
    for (int i = 0; i < m->rowCount(); ++i)
        out << m->index(i, 0).data().toString();
    return out;
}

// Typed as one key press; QTest's own typing takes ASCII only.
void type(QWidget* w, const QString& text)
{
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text, Qt::NoModifier);
}

} // namespace

class TestKategorier : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;
    template <typename T> T* get(const char* name)
    {
        return p->window->findChild<T*>(QString::fromLatin1(name));
    }
    QWidget* openWindow()
    {
        p->window->findChild<QPushButton*>(QStringLiteral("cmdButton_2"))->click();
        auto* w = p->window->findChild<QWidget*>(QStringLiteral("frmKategorier"));
        if (w && !QTest::qWaitForWindowActive(w))
            qWarning("category window not active");
        return w;
    }

private slots:
    void init()
    {
        QVERIFY(t.makeCookbook(QString::fromUtf8(Cookbook)));
        t.prompts.clearShown();
        p = t.start();
        QVERIFY(p->ok);
    }
    void cleanup() { p.reset(); }

    void addAndRename_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("filtered");
        QTest::addColumn<int>("messages");
        const QStringList start { "Bröd [1]", "Kakor [2]" };
        // "+name" types and clicks Spara, "^name" types and presses Enter,
        // "old=new" selects the row "old" and renames it ("=new": no row selected),
        // "-name" removes that category behind the window's back.
        QTest::newRow("new category only in the chooser")
            << QStringList { "+Fisk" } << QStringList { "Bröd", "Fisk", "Kakor", "Soppor" } << start << 0;
        QTest::newRow("rename follows in both lists")
            << QStringList { "Kakor=Småkakor" } << QStringList { "Bröd", "Småkakor", "Soppor" }
            << QStringList { "Bröd [1]", "Småkakor [2]" } << 0;
        QTest::newRow("quotes and å ä ö in Swedish order")
            << QStringList { "^Ölrätter", "+Mormors \"bästa\"", "Soppor=Ärt'soppor", "+Åtta sorters",
                   "+Zucchini" }
            << QStringList { "Bröd", "Kakor", "Mormors \"bästa\"", "Zucchini", "Åtta sorters", "Ärt'soppor",
                   "Ölrätter" }
            << start << 0;
        QTest::newRow("duplicate names by adding and renaming")
            << QStringList { "+Kakor", "Bröd=Kakor" } << QStringList { "Kakor", "Kakor", "Kakor", "Soppor" }
            << QStringList { "Kakor [2]", "Kakor [1]" } << 0;
        QTest::newRow("empty new name stored, listed first")
            << QStringList { "Soppor=" } << QStringList { "", "Bröd", "Kakor" } << start << 0;
        QTest::newRow("empty add and rename without a row do nothing")
            << QStringList { "+", "=Ny" } << QStringList { "Bröd", "Kakor", "Soppor" } << start << 0;
        QTest::newRow("refused by the engine: told, nothing changes")
            << QStringList { "+Fel" } << QStringList { "Bröd", "Kakor", "Soppor" } << start << 1;
        QTest::newRow("renaming one removed meanwhile: told, list refilled")
            << QStringList { "-Soppor", "Soppor=Buljong" } << QStringList { "Bröd", "Kakor" } << start << 1;
    }
    void addAndRename()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, filtered);
        QFETCH(int, messages);
        QWidget* w = openWindow();
        QVERIFY(w);
        auto* list = w->findChild<QListWidget*>(QStringLiteral("lstKategorier"));
        auto* txtNy = w->findChild<QLineEdit*>(QStringLiteral("txtNyKategori"));
        auto* txtChange = w->findChild<QLineEdit*>(QStringLiteral("txtChangeName"));
        for (const QString& step : steps) {
            if (step.startsWith(QLatin1Char('-'))) {
                QVERIFY(p->ctx->db()
                            .execute("DELETE FROM tblKategorier WHERE Kategori = ?1;", { step.mid(1) })
                            .ok());
                continue;
            }
            if (step.startsWith(QLatin1Char('+')) || step.startsWith(QLatin1Char('^'))) {
                txtNy->setFocus();
                type(txtNy, step.mid(1));
                if (step.startsWith(QLatin1Char('+')))
                    w->findChild<QPushButton*>(QStringLiteral("cmdNy"))->click();
                else
                    QTest::keyClick(txtNy, Qt::Key_Return);
                continue;
            }
            const QString old = step.section(QLatin1Char('='), 0, 0);
            if (!old.isEmpty()) {
                const auto found = list->findItems(old, Qt::MatchExactly);
                QVERIFY(!found.isEmpty());
                QTest::mouseClick(
                    list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
                QCOMPARE(txtChange->text(), old);
            }
            txtChange->clear();
            type(txtChange, step.section(QLatin1Char('='), 1));
            w->findChild<QPushButton*>(QStringLiteral("cmdChange"))->click();
        }
        QCOMPARE(items(list->model()), listed);
        QCOMPARE(t.prompts.shown().size(), messages);
        // The main window follows only when the window closes.
        QCOMPARE(items(get<QComboBox>("cmbNyttRecept")->model()), QStringList({ "Bröd", "Kakor", "Soppor" }));
        w->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
        QCOMPARE(items(get<QComboBox>("cmbKategorier")->model()).mid(2), filtered);
        QCOMPARE(items(get<QComboBox>("cmbNyttRecept")->model()), listed);
    }

    // A new recipe typed while the window was open keeps its text and category.
    void closingDuringNewRecipe()
    {
        QWidget* w = openWindow();
        p->window->BeginNyttRecept();
        get<QLineEdit>("txtTitel")->setText(QStringLiteral("Rågbröd"));
        get<QComboBox>("cmbNyttRecept")->setCurrentIndex(0);
        type(w->findChild<QLineEdit*>(QStringLiteral("txtNyKategori")), QStringLiteral("Aladåber"));
        w->findChild<QPushButton*>(QStringLiteral("cmdNy"))->click();
        w->close();
        QVERIFY(p->window->nyttReceptMode());
        QCOMPARE(get<QLineEdit>("txtTitel")->text(), QStringLiteral("Rågbröd"));
        QCOMPARE(get<QComboBox>("cmbNyttRecept")->currentText(), QStringLiteral("Bröd"));
        QCOMPARE(items(get<QComboBox>("cmbNyttRecept")->model()),
            QStringList({ "Aladåber", "Bröd", "Kakor", "Soppor" }));
    }
};

QTEST_MAIN(TestKategorier)
#include "tst_kategorier.moc"
