// The main window at every size: the controls follow the window's size.
#include "support/TestSupport.h"
#include "ui/mainwindow/MainLayout.h"

#include <QLabel>
#include <QPushButton>

#include <array>

using namespace Qt::StringLiterals;

namespace {

using Geometry = QMap<QString, QRect>;

// Every control the window places, by name.
Geometry geometryOf(const QWidget* w)
{
    Geometry g;
    for (const QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!c->objectName().isEmpty() && !c->isWindow())
            g.insert(c->objectName(), c->geometry());
    return g;
}

QRect plus(const QRect& r, const QRect& d)
{
    return { r.x() + d.x(), r.y() + d.y(), r.width() + d.width(), r.height() + d.height() };
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;
    FrmMain* w = nullptr;

    void resizeTo(QSize size)
    {
        w->resize(size);
        QTRY_COMPARE(w->size(), size.expandedTo(MainLayout::MinimumSize));
    }
    QRect at(const char* name) const { return w->findChild<QWidget*>(QString::fromLatin1(name))->geometry(); }

private slots:
    void initTestCase()
    {
        QVERIFY(t.makeCookbook(u"SELECT 1;"_s));
        p = t.start();
        QVERIFY(p->ok);
        w = p->window.get();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    void cleanupTestCase()
    {
        w->ExitProgram();
        p.reset();
    }
    void init() { resizeTo(MainLayout::DesignedSize); }

    // Every control at the designed size, then with the window 100 wider and
    // with it 60 taller: what each of its edges does (left, top, width, height).
    void widerAndTaller_data()
    {
        QTest::addColumn<QRect>("designed");
        QTest::addColumn<QRect>("wider");
        QTest::addColumn<QRect>("taller");
        const auto row = [](const char* name, QRect designed, QRect wider, QRect taller = {}) {
            QTest::newRow(name) << designed << wider << taller;
        };
        const QRect none;
        const QRect moves(100, 0, 0, 0);
        const QRect down(0, 60, 0, 0);
        // Left column: grows by half the added width; the list ends 5 pixels above the bottom edge.
        row("lblKategorier", { 5, 8, 249, 17 }, none);
        row("cmbKategorier", { 5, 24, 249, 21 }, { 0, 0, 50, 0 });
        row("lblRecept", { 5, 48, 249, 17 }, none);
        row("lstRecept", { 5, 64, 249, 463 }, { 0, 0, 50, 0 }, { 0, 0, 0, 60 });
        // Middle column: moves by half and grows by half; portions and time
        // share their half, the time field 7 pixels right of the portions.
        row("lblTitel", { 261, 8, 289, 17 }, { 50, 0, 0, 0 });
        row("txtTitel", { 261, 24, 289, 19 }, { 50, 0, 50, 0 });
        row("lblPortioner", { 264, 48, 137, 17 }, { 50, 0, 0, 0 });
        row("txtPortioner", { 264, 64, 137, 19 }, { 50, 0, 25, 0 });
        row("lblTid", { 408, 48, 145, 17 }, { 75, 0, 0, 0 });
        row("txtTid", { 408, 64, 145, 19 }, { 75, 0, 25, 0 });
        row("lblIngredienser", { 261, 88, 289, 17 }, { 50, 0, 0, 0 });
        row("txtIngredienser", { 261, 104, 289, 209 }, { 50, 0, 50, 0 }, { 0, 0, 0, 30 });
        row("lblAnvisningar", { 261, 320, 289, 17 }, { 50, 0, 0, 0 }, { 0, 30, 0, 0 });
        row("txtAnvisningar", { 261, 336, 289, 191 }, { 50, 0, 50, 0 }, { 0, 30, 0, 30 });
        // Right column: moves with the right edge; its lower part with the bottom edge.
        row("lblVerktyg", { 557, 8, 233, 17 }, moves);
        row("lblReceptKategori", { 557, 120, 233, 17 }, moves);
        row("cmbNyttRecept", { 557, 136, 233, 21 }, moves);
        row("lblSeek", { 557, 160, 233, 17 }, moves);
        row("cmbSeek", { 557, 176, 233, 21 }, moves);
        row("txtAddSeek", { 557, 200, 153, 19 }, moves);
        row("lstSeek", { 557, 224, 233, 184 }, moves, { 0, 0, 0, 60 });
        row("lblKylskap", { 557, 408, 233, 17 }, moves, down);
        row("txtEditIng", { 557, 456, 153, 19 }, moves, down);
        row("txtSeek", { 557, 480, 153, 19 }, moves, down);
        row("txtAddIng", { 5, 528, 153, 19 }, moves, down);
        // Buttons in threes at 557, 637 and 717, as the window shows them.
        const auto three = [&](std::array<const char*, 3> names, int top, int height, QRect taller = {}) {
            for (int i = 0; i < 3; ++i)
                row(names[i], { 557 + 80 * i, top, 73, height }, moves, taller);
        };
        three({ "cmdButton_0", "cmdButton_17", "cmdButton_2" }, 24, 25);
        three({ "cmdButton_3", "cmdButton_4", "cmdButton_6" }, 56, 25);
        three({ "cmdButton_13", "cmdButton_14", "cmdButton_15" }, 424, 25, down);
        three({ "cmdKrox_0", "cmdKrox_1", "cmdKrox_2" }, 502, 25, down);
        row("cmdButton_20", { 597, 88, 73, 25 }, moves);
        row("cmdButton_21", { 677, 88, 73, 25 }, moves);
        row("cmdButton_19", { 717, 200, 73, 19 }, moves);
        row("cmdButton_11", { 717, 456, 73, 19 }, moves, down);
        row("cmdButton_5", { 717, 480, 73, 19 }, moves, down);
        // Never shown, or only for a new recipe.
        row("cmdButton_9", { 560, 496, 73, 25 }, moves);
        row("cmdButton_10", { 640, 496, 73, 25 }, moves);
        row("cmdButton_1", { 552, 528, 73, 25 }, moves);
        row("cmdButton_18", { 720, 528, 73, 25 }, moves);
        row("cmdButton_7", { 285, 560, 73, 25 }, moves);
        row("cmdButton_8", { 365, 560, 73, 25 }, moves);
        row("cmdButton_16", { 445, 560, 73, 25 }, moves);
        row("cmdButton_12", { 165, 528, 73, 19 }, moves, down);
    }
    void widerAndTaller()
    {
        QFETCH(QRect, designed);
        QFETCH(QRect, wider);
        QFETCH(QRect, taller);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QWidget* c = w->findChild<QWidget*>(name);
        QVERIFY(c);
        QCOMPARE(c->geometry(), designed);
        resizeTo(MainLayout::DesignedSize + QSize(100, 0));
        QCOMPARE(c->geometry(), plus(designed, wider));
        resizeTo(MainLayout::DesignedSize + QSize(0, 60));
        QCOMPARE(c->geometry(), plus(designed, taller));
    }

    // The first look at the opening size, the smallest and a large one: every
    // shown control inside the window with a margin at the bottom as at the
    // left, and every caption whole.
    void everythingInsideAndWhole_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("designed") << MainLayout::DesignedSize;
        QTest::newRow("as installed") << QSize(792, 566);
        QTest::newRow("smallest") << QSize(640, 480);
        QTest::newRow("large") << QSize(1600, 1150);
    }
    void everythingInsideAndWhole()
    {
        QFETCH(QSize, size);
        resizeTo(size);
        const QRect inside = w->rect().adjusted(2, 2, -2, -MainLayout::BottomMargin);
        int lowest = 0;
        for (const QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!c->isVisible() || c->isWindow())
                continue;
            QVERIFY2(inside.contains(c->geometry()), qPrintable(c->objectName()));
            lowest = std::max(lowest, c->geometry().bottom());
            QString caption;
            if (const auto* b = qobject_cast<const QPushButton*>(c))
                caption = b->text();
            else if (const auto* l = qobject_cast<const QLabel*>(c))
                caption = l->text();
            caption.remove(QLatin1Char('&'));
            QVERIFY2(c->fontMetrics().horizontalAdvance(caption) <= c->contentsRect().width() - 2,
                qPrintable(c->objectName() + QLatin1Char(' ') + caption));
        }
        QCOMPARE(lowest, size.height() - 1 - MainLayout::BottomMargin);
    }

    // No smaller than 640 by 480, where every control is still inside.
    void minimumSize()
    {
        resizeTo({ 500, 300 });
        for (const QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(!c->isVisible() || w->rect().contains(c->geometry()), qPrintable(c->objectName()));
        QCOMPARE(at("lstRecept").bottom(), 479 - MainLayout::BottomMargin);
    }

    // A new recipe's chooser keeps the filter's place at every size.
    void resizeInNewRecipeMode()
    {
        w->BeginNyttRecept();
        for (QSize s : { QSize(903, 611), QSize(640, 480) }) {
            resizeTo(s);
            QCOMPARE(at("cmbNyttRecept"), at("cmbKategorier"));
            QCOMPARE(at("cmdButton_9"), at("cmdButton_0"));
            QCOMPARE(at("cmdButton_10"), at("cmdButton_17"));
        }
        w->EndNyttRecept();
        QCOMPARE(at("cmbNyttRecept"), QRect(557 - 152, 136, 233, 21));
    }

    // Maximised, the window is laid out for the whole screen; restored (also
    // after minimising) every control is back exactly, halves and quarters of
    // an odd size rounded as before, without drift.
    void maximiseMinimiseRestore()
    {
        resizeTo({ 701, 503 });
        const Geometry normal = geometryOf(w);
        w->showMaximized();
        QTRY_VERIFY(w->isMaximized() && w->size() != QSize(701, 503));
        QCOMPARE(at("lstRecept").bottom(), w->height() - 1 - MainLayout::BottomMargin);
        QCOMPARE(at("cmdKrox_2").bottomRight(),
            QPoint(w->width() - 3, w->height() - 1 - MainLayout::BottomMargin));
        w->showNormal();
        QTRY_COMPARE(w->size(), QSize(701, 503));
        QCOMPARE(geometryOf(w), normal);
        w->showMinimized();
        QTRY_VERIFY(w->isMinimized());
        w->showNormal();
        QTRY_VERIFY(!w->isMinimized());
        QCOMPARE(geometryOf(w), normal);
        // The size stored at exit is the one the window was left at.
        QCOMPARE(QSize(p->ctx->state().windowWidth(), p->ctx->state().windowHeight()), QSize(701, 503));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
