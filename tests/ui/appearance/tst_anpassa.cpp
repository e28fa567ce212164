// The colour window driven from the main window, and button faces as they are painted.
#include "core/db/Cookbook.h"
#include "support/TestSupport.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

namespace {

double contrast(QRgb a, QRgb b)
{
    auto luminance = [](QRgb c) {
        auto lin = [](int v) { return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Face {
    QRgb fill = 0; // the most frequent colour
    double share = 0; // of the whole button
    int legible = 0; // pixels standing out from the fill at least 3 to 1
    double strongest = 1; // contrast of the most distinct pixel
};

Face face(QPushButton* b)
{
    const QImage img = b->grab().toImage();
    QHash<QRgb, int> n;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ++n[img.pixel(x, y) | 0xff000000u];
    Face f;
    f.fill = std::max_element(n.begin(), n.end()).key();
    f.share = double(n.value(f.fill)) / (img.width() * img.height());
    for (auto it = n.cbegin(); it != n.cend(); ++it) {
        const double c = contrast(it.key(), f.fill);
        f.legible += c >= 3 ? it.value() : 0;
        f.strongest = std::max(f.strongest, c);
    }
    return f;
}

} // namespace

class TestAnpassa : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;

    void start(const QString& buttons = {})
    {
        QVERIFY(t.makeCookbook(QString()));
        if (!buttons.isEmpty()) {
            Database db;
            QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
            QVERIFY(db.execute("INSERT INTO options (name, value) VALUES ('rgb_buttons', ?1);", { buttons }));
        }
        restart();
    }
    void restart()
    {
        if (p)
            p->window->ExitProgram();
        p = t.start();
        QVERIFY(p->ok);
    }
    QWidget* open(int command)
    {
        button(p->window.get(), QStringLiteral("cmdButton_%1").arg(command))->click();
        return p->window->findChild<QWidget*>(command == 20 ? "frmAnpassa" : "frmKategorier");
    }
    static QPushButton* button(QWidget* w, const QString& name) { return w->findChild<QPushButton*>(name); }
    static void setBars(QWidget* w, const char* which, QList<int> c)
    {
        for (int k = 0; k < 3; ++k)
            w->findChild<QScrollBar*>(QStringLiteral("hScroll%1_%2").arg(which).arg(k))->setValue(c[k]);
    }
    QString stored(const char* key)
    {
        return p->ctx->db().scalar("SELECT value FROM options WHERE name=?1;", { key })->toString();
    }

private slots:
    void cleanup() { p.reset(); }

    void boxMovesBar_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("shown");
        auto row = [](const char* name, const char* box, const char* typed, int bar, const char* shown) {
            QTest::newRow(name) << QString::fromLatin1(box) << QString::fromUtf8(typed) << bar
                                << QString::fromUtf8(shown);
        };
        // The bars start at 239,232,225 (windows) and 230,219,207 (buttons).
        row("decimal comma rounds up", "Window_0", "12,6", 13, "13");
        row("decimal point rounds up", "Window_0", "12.6", 13, "13");
        row("half to even, down", "Window_0", "12,5", 12, "12");
        row("half to even, up", "Button_1", "13,5", 14, "14");
        row("below one half", "Window_1", " 0,4 ", 0, "0");
        row("255.5 gives 255", "Button_2", "255,5", 255, "255");
        row("300 ignored", "Window_0", "300", 239, "300");
        row("256 ignored", "Button_0", "256", 230, "256");
        row("-1 ignored", "Window_0", "-1", 239, "-1");
        row("whole part -1 ignored", "Window_0", "-0,4", 239, "-0,4");
        row("letters ignored", "Button_0", "röd", 230, "röd");
        row("two separators ignored", "Window_0", "1,2,3", 239, "1,2,3");
    }
    void boxMovesBar()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, bar);
        QFETCH(QString, shown);
        start();
        QWidget* w = open(20);
        // The boxes are empty until a bar moves.
        for (QLineEdit* e : w->findChildren<QLineEdit*>())
            QVERIFY(e->text().isEmpty());
        w->findChild<QLineEdit*>(QStringLiteral("txt") + box)->setText(typed);
        QCOMPARE(w->findChild<QScrollBar*>(QStringLiteral("hScroll") + box)->value(), bar);
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("txt") + box)->text(), shown);
        // The run's colour and the preview follow the bar.
        const bool windows = box.startsWith(QLatin1String("Window"));
        const ColourTriple c = windows ? p->ctx->state().windowRGB() : p->ctx->state().buttonRGB();
        QCOMPARE(QList<int>({ c.r, c.g, c.b }).at(box.right(1).toInt()), bar);
        auto* preview
            = w->findChild<QFrame*>(windows ? QStringLiteral("shpWindow") : QStringLiteral("shpButton"));
        QCOMPARE(preview->palette().color(QPalette::Window), colourFromValue(c.value()));
    }

    // Chosen colours show after the next start; "Återställ" then "OK" stores the delivered ones.
    void okStoresForTheNextStart()
    {
        start();
        QWidget* w = open(20);
        setBars(w, "Window", { 0, 0, 255 });
        setBars(w, "Button", { 255, 0, 0 });
        button(w, QStringLiteral("cmdButton_0"))->click();
        QVERIFY(!w->isVisible());
        restart();
        QCOMPARE(p->window->palette().color(QPalette::Window), QColor(0, 0, 255));
        for (const char* name : { "cmdButton_2", "cmdKrox_2" })
            QCOMPARE(face(button(p->window.get(), name)).fill, qRgb(255, 0, 0));
        w = open(20);
        QCOMPARE(w->findChild<QScrollBar*>(QStringLiteral("hScrollWindow_2"))->value(), 255);
        button(w, QStringLiteral("cmdButton_2"))->click();
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("txtWindow_2"))->text(), QStringLiteral("225"));
        QCOMPARE(stored("rgb_windows"), QStringLiteral("0,0,255"));
        button(w, QStringLiteral("cmdButton_0"))->click();
        QCOMPARE(stored("rgb_windows"), QStringLiteral("239,232,225"));
        QCOMPARE(stored("rgb_buttons"), QStringLiteral("230,219,207"));
    }

    void cancelKeepsButtonColourForTheRunOnly()
    {
        start();
        QWidget* w = open(20);
        setBars(w, "Button", { 0, 0, 255 });
        button(w, QStringLiteral("cmdButton_1"))->click();
        QCOMPARE(stored("rgb_buttons"), QStringLiteral("230,219,207"));
        // Windows loaded before keep their colour; those opened later take the new one.
        QCOMPARE(face(button(p->window.get(), QStringLiteral("cmdButton_2"))).fill, qRgb(230, 219, 207));
        QCOMPARE(face(button(open(2), QStringLiteral("cmdClose"))).fill, qRgb(0, 0, 255));
        restart();
        QCOMPARE(face(button(open(2), QStringLiteral("cmdClose"))).fill, qRgb(230, 219, 207));
    }

    void buttonFaces_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("state");
        for (const char* colour : { "230,219,207", "255,0,0", "0,0,0" })
            for (const char* state : { "normal", "pressed", "disabled" })
                QTest::addRow("%s %s", colour, state)
                    << QString::fromLatin1(colour) << QString::fromLatin1(state);
    }
    void buttonFaces()
    {
        QFETCH(QString, stored);
        QFETCH(QString, state);
        start(stored);
        QPushButton* b = button(p->window.get(), QStringLiteral("cmdButton_2"));
        const Face normal = face(b);
        b->setDown(state == QLatin1String("pressed"));
        b->setEnabled(state != QLatin1String("disabled"));
        const Face f = face(b);
        // Flat in the chosen colour; pressing shows as a change of face.
        const QStringList c = stored.split(QLatin1Char(','));
        QCOMPARE(f.fill == qRgb(c[0].toInt(), c[1].toInt(), c[2].toInt()), state != QLatin1String("pressed"));
        QVERIFY(f.share > 0.5);
        // The caption stays legible; disabled reads fainter.
        QVERIFY2(f.legible > 20, qPrintable(QString::number(f.legible)));
        if (state == QLatin1String("disabled"))
            QVERIFY(f.strongest < normal.strongest);
    }
};

QTEST_MAIN(TestAnpassa)
#include "tst_anpassa.moc"
