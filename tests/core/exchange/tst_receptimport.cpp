// Recipe files into the cookbook: what lands in each column, and what a
// damaged file leaves behind.
#include "core/db/Cookbook.h"
#include "core/exchange/ReceptImport.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const char* const Existing = R"sql(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor'), (2, 'Soppor');
INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (1, 'Kladdkaka', 1), (2, 'Kock''s sallad', 2);
)sql";

QByteArray block(const QByteArray& titel, const QByteArray& kategori = "1", const QByteArray& portioner = "4",
    const QByteArray& tid = "30 min", const QByteArray& ingredienser = "socker",
    const QByteArray& anvisningar = "Baka.")
{
    return "<titel>" + titel + "</titel><kategori>" + kategori + "</kategori><portioner>" + portioner
        + "</portioner><tid>" + tid + "</tid><ingredienser>" + ingredienser + "</ingredienser><anvisningar>"
        + anvisningar + "</anvisningar>";
}

QByteArray latin1(const char* s)
{
    return QString::fromUtf8(s).toLatin1();
}

} // namespace

class TestReceptImport : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgram> m_program;
    Database m_db;

    // The added recipes as "Titel|Kategori|AntalPersoner|Tid|Ingredienser|Anvisningar", NULL as "-".
    QStringList added()
    {
        auto st = m_db.prepare("SELECT Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar "
                               "FROM tblRecept WHERE RID > 2 ORDER BY RID;");
        QStringList rows;
        while (st->next()) {
            QStringList f;
            for (int c = 0; c < 6; ++c)
                f << (st->isNull(c) ? u"-"_s : st->text(c));
            rows << f.join(u'|');
        }
        return rows;
    }

private slots:
    void init()
    {
        m_db.close();
        m_program = std::make_unique<TempProgram>();
        QVERIFY(m_program->makeCookbook(QString::fromUtf8(Existing)));
        QVERIFY(m_db.open(m_program->dbPath(), Cookbook::DatabaseKey));
    }

    void importFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("error");

        QTest::newRow("three blocks, text around them, in file order")
            << latin1("Recept från KROX\r\n") + block("A") + "\r\n\r\n" + block("B", "2") + latin1("skräp")
                + block("C", "1", "", "", "", "")
            << QStringList { u"A|1|4|30 min|socker|Baka."_s, u"B|2|4|30 min|socker|Baka."_s,
                   u"C|1|-|-|-|-"_s }
            << QString();
        QTest::newRow("elements in any order inside the block")
            << latin1("<titel>Bullar</titel><kategori>1</kategori><anvisningar>Knåda</anvisningar><tid>1 "
                      "tim</tid>"
                      "<ingredienser>jäst</ingredienser><portioner>20</portioner>")
                + block(latin1("Nästa"))
            << QStringList { u"Bullar|1|20|1 tim|jäst|Knåda"_s, u"Nästa|1|4|30 min|socker|Baka."_s }
            << QString();
        QTest::newRow("inner CR LF and Windows-1252 letters kept, nothing trimmed")
            << block(latin1(" Ärtsoppa "), " 2 ", "4 pers", "", latin1("1 l ärtor\r\n1 lök\r\n"),
                   latin1("Koka.\r\n\r\nServera."))
            << QStringList { u" Ärtsoppa |2|4 pers|-|1 l ärtor\r\n1 lök\r\n|Koka.\r\n\r\nServera."_s }
            << QString();
        QTest::newRow("duplicate titles: the cookbook's text rule, once per import, apostrophes")
            << block("KLADDKAKA") + block("Kock's sallad", "2") + block("Ny") + block("ny") + block("ny")
            << QStringList { u"KLADDKAKA kopia|1|4|30 min|socker|Baka."_s,
                   u"Kock's sallad kopia|2|4|30 min|socker|Baka."_s, u"Ny|1|4|30 min|socker|Baka."_s,
                   u"ny kopia|1|4|30 min|socker|Baka."_s, u"ny kopia|1|4|30 min|socker|Baka."_s }
            << QString();
        QTest::newRow("duplicate titles: Swedish letters fold by case, accents count")
            << block(latin1("Åsa")) + block(latin1("åSA")) + block("Creme") + block(latin1("Crème"))
            << QStringList { u"Åsa|1|4|30 min|socker|Baka."_s, u"åSA kopia|1|4|30 min|socker|Baka."_s,
                   u"Creme|1|4|30 min|socker|Baka."_s, u"Crème|1|4|30 min|socker|Baka."_s }
            << QString();
        QTest::newRow("a category no category carries still imports")
            << block(latin1("Okänd"), "999") << QStringList { u"Okänd|999|4|30 min|socker|Baka."_s }
            << QString();
        QTest::newRow("tags in capitals are not tags")
            << QByteArray("<TITEL>A</TITEL><KATEGORI>1</KATEGORI>") << QStringList() << QString();
        QTest::newRow("one block longer than 32767 characters")
            << block(latin1("Lång"), "1", "", "", QByteArray(40000, 'x'), QByteArray(40000, 'y'))
                + block("Efter")
            << QStringList { u"Lång|1|-|-|"_s + QString(40000, u'x') + u'|' + QString(40000, u'y'),
                   u"Efter|1|4|30 min|socker|Baka."_s }
            << QString();

        QTest::newRow("element missing: blocks before it stay")
            << block(latin1("Först"))
                + "<titel>Andra</titel><kategori>1</kategori><portioner></portioner>"
                  "<ingredienser></ingredienser><anvisningar></anvisningar>"
                + block("Tredje")
            << QStringList { u"Först|1|4|30 min|socker|Baka."_s }
            << u"Receptfilen kunde inte läsas in helt. Recept 2 i filen saknar elementet <tid>. "
               "Recepten före det har sparats."_s;
        QTest::newRow("an element is never taken from the next block")
            << QByteArray("<titel>Utan tid</titel><kategori>1</kategori><portioner></portioner>"
                          "<ingredienser></ingredienser><anvisningar></anvisningar>")
                + block("Med tid")
            << QStringList()
            << u"Receptfilen kunde inte läsas in helt. Recept 1 i filen saknar elementet <tid>. "
               "Inget recept har sparats."_s;
        QTest::newRow("category not a number")
            << block("Ett") + block("Två", "Kakor") << QStringList { u"Ett|1|4|30 min|socker|Baka."_s }
            << u"Receptfilen kunde inte läsas in helt. Recept 2 i filen har kategorin \"Kakor\", som inte är "
               u"ett "
               "nummer. Recepten före det har sparats."_s;
        QTest::newRow("file cut off inside the instructions")
            << block("Hel")
                + QByteArray("<titel>Halv</titel><kategori>1</kategori><portioner></portioner><tid>"
                             "</tid><ingredienser></ingredienser><anvisningar>Rör om")
            << QStringList { u"Hel|1|4|30 min|socker|Baka."_s }
            << u"Receptfilen kunde inte läsas in helt. Recept 2 i filen saknar </anvisningar>. "
               "Recepten före det har sparats."_s;
        QTest::newRow("UTF-8 from a text editor, with a byte order mark")
            << "\xEF\xBB\xBF"_ba + block("P\xC3\xA4rontarta", "1", "4", "30 min", "\xC2\xBD dl socker")
            << QStringList { u"Pärontarta|1|4|30 min|½ dl socker|Baka."_s } << QString();
        QTest::newRow("over 5 MB") << block(
            "Stor", "1", "4", "30 min", QByteArray(ReceptImport::FileLimit, 'x'))
                                   << QStringList() << u"större än 5 MB, så den läses inte."_s;
        QTest::newRow("empty title")
            << block("") << QStringList()
            << u"Receptfilen kunde inte läsas in helt. Recept 1 i filen har ingen titel. "
               "Inget recept har sparats."_s;
    }
    void importFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        QFETCH(QString, error);
        const QString tmp = m_program->path(ReceptImport::TempFileName);
        QFile f(tmp);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
        f.close();

        const ReceptImport::Result r = ReceptImport::ImportRecept(m_db, m_program->folder());
        QVERIFY2(error.isEmpty() ? r.error.isEmpty() : r.error.endsWith(error), qPrintable(r.error));
        QCOMPARE(added(), rows);
        QCOMPARE(r.added.size(), rows.size());
        QVERIFY(!QFile::exists(tmp));
        // What was there before is untouched.
        QCOMPARE(m_db.scalar("SELECT group_concat(Titel, '/') FROM tblRecept WHERE RID <= 2;")->toString(),
            u"Kladdkaka/Kock's sallad"_s);
    }

    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("tag on the first line") << QByteArray("<titel>A</titel>\r\n<kategori>") << true;
        QTest::newRow("any case") << QByteArray("xx<TiTeL>") << true;
        QTest::newRow("only on the second line") << QByteArray("<html>\r\n<titel>") << false;
        QTest::newRow("lone LF ends the line") << QByteArray("Fel\n<titel>") << false;
        QTest::newRow("error page") << QByteArray("<html><title>404</title>") << false;
        QTest::newRow("UTF-16 with a byte order mark")
            << QByteArray("\xFF\xFE<\0t\0i\0t\0e\0l\0>\0", 16) << true;
    }
    void firstLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        QCOMPARE(ReceptImport::firstLineHasTitel(bytes), accepted);
    }
};

QTEST_GUILESS_MAIN(TestReceptImport)
#include "tst_receptimport.moc"
