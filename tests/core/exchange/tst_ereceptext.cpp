// The e-recipe text: which fields appear, the blank-line rule, the separator
// and the wrapping of instructions, read from a real cookbook.
#include "core/exchange/EReceptText.h"
#include "support/TestSupport.h"

Q_DECLARE_METATYPE(QList<QStringList>)

namespace {

const QString Star50 = QString(50, QLatin1Char('*'));
const QString A59 = QString(59, QLatin1Char('a'));

// Title, portions, time, ingredients, instructions.
QStringList onlyInstructions(const QString& text)
{
    return { {}, {}, {}, {}, text };
}

QString instructionsShown(const QString& text)
{
    return QStringLiteral("Så här gör du:\r\n") + text + QStringLiteral("\r\n");
}

} // namespace

class TestEReceptText : public QObject {
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QList<QStringList>>("recipes");
        QTest::addColumn<QList<qint32>>("rids");
        QTest::addColumn<QString>("expected");

        const QStringList full { "Kladdkaka", "8", "45 min", "2 ägg\r\n100 g smör", "Smält smöret." };
        const QString fullText
            = "Kladdkaka\r\n\r\nPortioner: 8\r\nTid: 45 min\r\n\r\nDetta behövs:\r\n2 ägg\r\n"
              "100 g smör\r\n\r\nSå här gör du:\r\nSmält smöret.\r\n";
        QTest::newRow("every field") << QList<QStringList> { full } << QList<qint32> { 1 } << fullText;
        QTest::newRow("no servings or time: two blank lines, not three")
            << QList<QStringList> { { "Te", "", "", "1 påse", "Häll på vatten." } } << QList<qint32> { 1 }
            << "Te\r\n\r\n\r\nDetta behövs:\r\n1 påse\r\n\r\nSå här gör du:\r\nHäll på vatten.\r\n";
        QTest::newRow("title and instructions")
            << QList<QStringList> { { "Te", "", "", "", "Koka." } } << QList<qint32> { 1 }
            << "Te\r\n\r\nSå här gör du:\r\nKoka.\r\n";
        QTest::newRow("three recipes in the given order, separators before titles")
            << QList<QStringList> { { "Ett", "", "", "", "A." }, { "Två", "", "", "", "B." },
                   { "Tre", "2", "", "", "" } }
            << QList<qint32> { 3, 1, 2 }
            << "Tre\r\n\r\nPortioner: 2\r\n" + Star50 + "\r\nEtt\r\n\r\nSå här gör du:\r\nA.\r\n" + Star50
                + "\r\nTvå\r\n\r\nSå här gör du:\r\nB.\r\n";
        QTest::newRow("a recipe gone meanwhile leaves no separator")
            << QList<QStringList> { { "Ett", "", "", "", "A." } } << QList<qint32> { 7, 1, 9 }
            << "Ett\r\n\r\nSå här gör du:\r\nA.\r\n";
        QTest::newRow("long ingredient lines are not wrapped")
            << QList<QStringList> { { "", "", "", QString(30, 'x') + " " + QString(40, 'y'), "" } }
            << QList<qint32> { 1 }
            << "\r\n\r\nDetta behövs:\r\n" + QString(30, 'x') + " " + QString(40, 'y') + "\r\n\r\n";

        // Wrapping: a space is replaced once the count has passed 60; a line
        // end in the text counts two, an inserted one one.
        const auto wrap = [](const char* name, const QString& in, const QString& out) {
            QTest::newRow(name) << QList<QStringList> { onlyInstructions(in) } << QList<qint32> { 1 }
                                << instructionsShown(out);
        };
        wrap("space at 60 stays", A59 + "a b", A59 + "a b");
        wrap("space at 61 breaks", A59 + "aa b", A59 + "aa\r\nb");
        wrap("after a line end in the text the count starts at 2", "x\r\n" + A59 + " b",
            "x\r\n" + A59 + "\r\nb");
        wrap("after an inserted break the count starts at 1", A59 + "aa " + A59 + " d " + A59 + "a e",
            A59 + "aa\r\n" + A59 + " d\r\n" + A59 + "a\r\ne");
        wrap("a line without spaces is never broken", QString(150, 'a'), QString(150, 'a'));
        wrap("ordinary paragraph",
            "Sätt ugnen på 200 grader. Smält smöret i en kastrull och låt det svalna en stund. Rör ner "
            "socker, "
            "ägg och vetemjöl till en jämn smet. Häll smeten i en smord form och grädda i mitten av ugnen.",
            "Sätt ugnen på 200 grader. Smält smöret i en kastrull och låt det\r\nsvalna en stund. Rör ner "
            "socker, ägg och vetemjöl till en jämn\r\nsmet. Häll smeten i en smord form och grädda i mitten "
            "av "
            "ugnen.");
    }
    void text()
    {
        QFETCH(QList<QStringList>, recipes);
        QFETCH(QList<qint32>, rids);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        Database db;
        QVERIFY(db.openPlain(dir.filePath("book.db")).ok());
        QVERIFY(db.exec(RecipeSchema).ok());
        for (const QStringList& r : recipes) {
            QVariantList values;
            for (const QString& f : r)
                values << (f.isEmpty() ? QVariant() : QVariant(f));
            QVERIFY(db.execute("INSERT INTO tblRecept (Titel, AntalPersoner, Tid, Ingredienser, Anvisningar) "
                               "VALUES (?1, ?2, ?3, ?4, ?5);",
                          values)
                        .ok());
        }
        const DbResult<QString> text
            = EReceptText::BuildEReceptText(db, QVector<qint32>(rids.begin(), rids.end()));
        QVERIFY(text.ok());
        QCOMPARE(*text, expected);
    }
};

QTEST_MAIN(TestEReceptText)
#include "tst_ereceptext.moc"
