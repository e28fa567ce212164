// Deleted recipes in the wastebasket: gone from every list while there, and
// back as they were (texts, number, category, picture bytes) when restored,
// whatever changed in the cookbook and the picture folder meanwhile.
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Pictures.h"
#include "core/catalogue/Records.h"
#include "core/catalogue/Wastebasket.h"
#include "core/db/Cookbook.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

namespace {

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Ärtor'), (2, 'Bröd'), (3, 'Fisk');
INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES
  (1, 'Ärtsoppa', 1, '4', '2 tim', 'ärtor' || char(13,10) || 'lök', 'Koka.' || char(13,10)),
  (2, 'Gröna ärtor', 1, NULL, NULL, 'ärtor', NULL),
  (3, 'Limpa', 2, '1', NULL, 'mjöl', 'Baka.'),
  (4, 'Limpa', 2, '2', NULL, 'råg', 'Baka länge.'),
  (5, 'Hemlig', 99, NULL, NULL, NULL, NULL);
)SQL";

const QDateTime Now = QDateTime(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);

struct Fixture {
    TempProgram t;
    Database db;

    Fixture()
    {
        static TempProgram made;
        static const bool ok = made.makeCookbook(QString::fromUtf8(Cookbook));
        if (!ok || !QFile::copy(made.dbPath(), t.dbPath()) || !db.open(t.dbPath(), Cookbook::DatabaseKey))
            qFatal("cookbook not made");
        QDir().mkpath(pictures());
    }
    QString pictures() const { return t.path(QStringLiteral("bilder")); }
    QString file(const QString& name) const { return QDir(pictures()).filePath(name); }
    bool run(const QString& sql) { return sql.isEmpty() || db.exec(sql.toUtf8().constData()).ok(); }
    QVariant stored(const char* sql, const QVariantList& values = {})
    {
        const auto v = db.scalar(sql, values);
        return v ? *v : QVariant(QStringLiteral("<failed>"));
    }
    // A recipe's stored columns, NULL shown as "-", and its category's name.
    QString row(qint32 rid)
    {
        return stored("SELECT coalesce(r.Titel,'-') || '|' || coalesce(r.AntalPersoner,'-') || '|' || "
                      "coalesce(r.Tid,'-') || '|' || coalesce(r.Ingredienser,'-') || '|' || "
                      "coalesce(r.Anvisningar,'-') || '|' || coalesce(k.Kategori, r.Kategori) "
                      "FROM tblRecept r LEFT JOIN tblKategorier k ON k.KID = r.Kategori WHERE r.RID = ?1;",
            { rid })
            .toString();
    }
    bool remove(const QVector<qint32>& rids, const QDateTime& when = Now)
    {
        if (!Wastebasket::deleteRecipes(db, pictures(), rids, when).ok())
            return false;
        for (qint32 rid : rids)
            Pictures::removeAllPictures(pictures(), rid);
        return true;
    }
};

const QByteArray Jpg = picture("\xff\xd8\xff\xe0", 70000, 1);

} // namespace

class TestWastebasket : public QObject {
    Q_OBJECT

private slots:
    void restoring_data();
    void restoring();
    void goneFromEverythingWhileDeleted();
    void undoingBatches();
    void allOrNone_data();
    void allOrNone();
    void purgeAndEmpty_data();
    void purgeAndEmpty();
};

void TestWastebasket::restoring_data()
{
    QTest::addColumn<qint32>("rid");
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QStringList>("filesMeanwhile");
    QTest::addColumn<bool>("sameNumber");
    QTest::addColumn<QString>("expected");
    const QString soup = QStringLiteral("Ärtsoppa|4|2 tim|ärtor\r\nlök|Koka.\r\n|");
    auto row = [](const char* name, qint32 rid, const char* sql, const QStringList& files, bool same,
                   const QString& expected) {
        QTest::newRow(name) << rid << QString::fromUtf8(sql) << files << same << expected;
    };
    row("as it was, line ends and all", 1, "", {}, true, soup + "Ärtor");
    row("picture replaced and another type added meanwhile", 1, "", { "1.jpg", "1.gif" }, true,
        soup + "Ärtor");
    row("null columns stay null", 2, "", {}, true, QStringLiteral("Gröna ärtor|-|-|ärtor|-|Ärtor"));
    row("title taken meanwhile, letter case aside", 1,
        "INSERT INTO tblRecept (Titel, Kategori) VALUES ('ÄRTSOPPA', 2);", {}, true,
        QStringLiteral("Ärtsoppa kopia|4|2 tim|ärtor\r\nlök|Koka.\r\n|Ärtor"));
    row("number taken meanwhile", 1, "INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (1, 'Bullar', 2);",
        { "1.jpg" }, false, soup + "Ärtor");
    row("category renamed meanwhile", 1, "UPDATE tblKategorier SET Kategori = 'Baljväxter' WHERE KID = 1;",
        {}, true, soup + "Baljväxter");
    row("category gone, one of its name made later", 1,
        "DELETE FROM tblKategorier WHERE KID = 1; INSERT INTO tblKategorier (KID, Kategori) VALUES (20, "
        "'ärtor');",
        {}, true, soup + "ärtor");
    row("category gone and no other of its name", 1, "DELETE FROM tblKategorier WHERE KID = 1;", {}, true,
        soup + "Ärtor");
    row("a recipe without category keeps its number", 5, "", {}, true, QStringLiteral("Hemlig|-|-|-|-|99"));
}

void TestWastebasket::restoring()
{
    QFETCH(qint32, rid);
    QFETCH(QString, meanwhile);
    QFETCH(QStringList, filesMeanwhile);
    QFETCH(bool, sameNumber);
    QFETCH(QString, expected);
    Fixture f;
    if (rid == 1)
        put(f.file(QStringLiteral("1.jpg")), Jpg);
    QVERIFY(f.remove({ rid }));
    QVERIFY(!QFile::exists(f.file(QStringLiteral("1.jpg"))));
    QVERIFY(f.run(meanwhile));
    for (const QString& name : filesMeanwhile)
        put(f.file(name), picture("GIF89a", 300, 7));
    const QString taken = f.row(rid);
    const QByteArray takenPicture = bytesOf(f.file(QStringLiteral("1.jpg")));

    const auto back = Wastebasket::restoreLastBatch(f.db, f.pictures());
    QVERIFY(back.ok());
    QCOMPARE(back->size(), 1);
    const qint32 now = back->first();
    QCOMPARE(now == rid, sameNumber);
    QCOMPARE(f.row(now), expected);
    QCOMPARE(bytesOf(f.file(QStringLiteral("%1.jpg").arg(now))), rid == 1 ? Jpg : QByteArray("<missing>"));
    // The picture is the recipe's only one; another number's files are not touched.
    QCOMPARE(Pictures::ReceptBildFil(f.pictures(), now).isEmpty(), rid != 1);
    QVERIFY(!QFile::exists(f.file(QStringLiteral("%1.gif").arg(now))));
    if (!sameNumber) {
        QCOMPARE(f.row(rid), taken);
        QCOMPARE(bytesOf(f.file(QStringLiteral("1.jpg"))), takenPicture);
    }
    QVERIFY(*Wastebasket::isEmpty(f.db));
}

void TestWastebasket::goneFromEverythingWhileDeleted()
{
    Fixture f;
    QVERIFY(f.remove({ 1, 2 }));
    QCOMPARE(*Catalogue::recipeCount(f.db), qint64(3));
    // "Ärtor" lists no recipe any longer.
    const auto cats = Catalogue::categoriesWithRecipes(f.db);
    QCOMPARE(cats->size(), 1);
    QCOMPARE(cats->first().name, QStringLiteral("Bröd"));
    QCOMPARE(
        Catalogue::recipesFor(f.db, Catalogue::AllRecipesPosition, 0)->ids, QVector<qint32>({ 5, 3, 4 }));
    QList<qint32> scanned;
    QVERIFY(Catalogue::readSearchTexts(f.db, 0, 100, [&](const Catalogue::SearchTexts& t) {
        scanned << t.rid;
        return true;
    }).ok());
    QCOMPARE(scanned, QList<qint32>({ 3, 4, 5 }));
    // The deleted title is free: a new recipe bearing it is no copy.
    const auto added = Records::addImported(f.db, 2, { QStringLiteral("ärtsoppa"), {}, {}, {}, {} });
    QCOMPARE(f.stored("SELECT Titel FROM tblRecept WHERE RID = ?1;", { *added }).toString(),
        QStringLiteral("ärtsoppa"));

    const auto listed = Wastebasket::entries(f.db);
    QCOMPARE(listed->size(), 2);
    QCOMPARE(listed->at(0).titel, QStringLiteral("Gröna ärtor"));
    QCOMPARE(listed->at(1).kategori, QStringLiteral("Ärtor"));
    QCOMPARE(listed->at(1).deleted, Now);
}

void TestWastebasket::undoingBatches()
{
    Fixture f;
    QVERIFY(f.remove({ 1 }));
    // Both "Limpa": restored together, neither becomes a copy of the other.
    QVERIFY(f.remove({ 3, 4 }));
    QCOMPARE(*Wastebasket::restoreLastBatch(f.db, f.pictures()), QVector<qint32>({ 3, 4 }));
    QCOMPARE(f.stored("SELECT group_concat(Titel, '/') FROM tblRecept WHERE RID IN (3, 4);").toString(),
        QStringLiteral("Limpa/Limpa"));
    QCOMPARE(*Wastebasket::restoreLastBatch(f.db, f.pictures()), QVector<qint32>({ 1 }));
    QCOMPARE(*Wastebasket::restoreLastBatch(f.db, f.pictures()), QVector<qint32>());
    QCOMPARE(*Catalogue::recipeCount(f.db), qint64(5));
    // An entry chosen in the window, the newest batch left alone.
    QVERIFY(f.remove({ 2 }));
    QVERIFY(f.remove({ 5 }));
    const auto listed = Wastebasket::entries(f.db);
    QCOMPARE(*Wastebasket::restore(f.db, f.pictures(), { listed->at(1).id }), QVector<qint32>({ 2 }));
    QCOMPARE(Wastebasket::entries(f.db)->first().rid, 5);
}

void TestWastebasket::allOrNone_data()
{
    QTest::addColumn<bool>("deleting");
    // A folder where a picture file should be: it can be neither read nor removed.
    QTest::newRow("a picture that cannot be read stops the delete") << true;
    QTest::newRow("a picture that cannot be written back stops the restore") << false;
}

void TestWastebasket::allOrNone()
{
    QFETCH(bool, deleting);
    Fixture f;
    put(f.file(QStringLiteral("1.jpg")), Jpg);
    if (deleting)
        QVERIFY(QDir().mkpath(f.file(QStringLiteral("3.jpg/x"))));
    else
        QVERIFY(f.remove({ 1, 3 }) && QDir().mkpath(f.file(QStringLiteral("3.gif/x"))));
    const QString before = f.stored("SELECT group_concat(RID) FROM tblRecept;").toString();
    const auto basket = Wastebasket::entries(f.db)->size();

    if (deleting)
        QVERIFY(!Wastebasket::deleteRecipes(f.db, f.pictures(), { 1, 3 }, Now).ok());
    else
        QVERIFY(!Wastebasket::restoreLastBatch(f.db, f.pictures()).ok());
    QCOMPARE(f.stored("SELECT group_concat(RID) FROM tblRecept;").toString(), before);
    QCOMPARE(Wastebasket::entries(f.db)->size(), basket);
    QCOMPARE(bytesOf(f.file(QStringLiteral("1.jpg"))), deleting ? Jpg : QByteArray("<missing>"));
    QVERIFY(!f.db.inTransaction());
}

void TestWastebasket::purgeAndEmpty_data()
{
    QTest::addColumn<QList<int>>("ageInHours");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<bool>("emptied");
    const int day = 24;
    QTest::newRow("30 days kept, a day more not")
        << QList<int> { 0, 29 * day, 30 * day, 31 * day, 400 * day }
        << QStringList { "Ärtsoppa", "Gröna ärtor", "Limpa" } << false;
    QTest::newRow("a clock set back keeps them")
        << QList<int> { -48, -1 } << QStringList { "Ärtsoppa", "Gröna ärtor" } << false;
    QTest::newRow("emptied") << QList<int> { 0, 1 } << QStringList {} << true;
    QTest::newRow("no wastebasket yet") << QList<int> {} << QStringList {} << false;
}

void TestWastebasket::purgeAndEmpty()
{
    QFETCH(QList<int>, ageInHours);
    QFETCH(QStringList, kept);
    QFETCH(bool, emptied);
    Fixture f;
    for (int i = 0; i < ageInHours.size(); ++i)
        QVERIFY(f.remove({ qint32(i + 1) }, Now.addSecs(-qint64(ageInHours.at(i)) * 3600)));
    const qint64 stamp = f.db.changeStamp();
    if (emptied)
        QVERIFY(Wastebasket::empty(f.db).ok());
    else
        QCOMPARE(*Wastebasket::purge(f.db, Now), int(ageInHours.size() - kept.size()));
    // Nothing to throw away is no write, and no table is made for it.
    QCOMPARE(f.db.changeStamp() == stamp, !emptied && ageInHours.size() == kept.size());
    QCOMPARE(*f.db.hasTable(QStringLiteral("papperskorg")), !ageInHours.isEmpty());
    QStringList left;
    const auto listed = Wastebasket::entries(f.db);
    for (const Wastebasket::Entry& e : *listed)
        left.prepend(e.titel);
    QCOMPARE(left, kept);
    QCOMPARE(*Catalogue::recipeCount(f.db), qint64(5 - ageInHours.size()));
}

QTEST_GUILESS_MAIN(TestWastebasket)
#include "tst_wastebasket.moc"
