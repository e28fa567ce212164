// The print template: expansion, the default template and the page file.
#include "core/db/Database.h"
#include "core/print/PageWriter.h"
#include "core/print/PrintPage.h"
#include "core/print/PrintTemplate.h"
#include "core/text/UserFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using Recipe = PrintTemplate::Recipe;
Q_DECLARE_METATYPE(Recipe)

class TestPrintPage : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    Database m_db;
    QString folder() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    void clean()
    {
        for (const QString& name : QDir(folder()).entryList({ u"*.htm"_s }, QDir::AllEntries))
            QVERIFY(QFile::remove(path(name)) || QDir(path(name)).removeRecursively());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_db.openPlain(path(u"dbRcp.mdb"_s)).ok());
        QVERIFY(m_db.exec("CREATE TABLE tblKategorier (KID INTEGER PRIMARY KEY, Kategori TEXT);"
                          "CREATE TABLE tblRecept (RID INTEGER PRIMARY KEY, Titel TEXT, Kategori INTEGER, "
                          "AntalPersoner TEXT, Tid TEXT, Ingredienser TEXT, Anvisningar TEXT);")
                    .ok());
        QVERIFY(m_db.execute("INSERT INTO tblRecept VALUES (7, 'Äppelkaka', 1, 4, '45 min', ?1, ?2);",
                        { u"⅓ dl socker\r\n3 äpplen"_s, u"Grädda <b>mitt</b> i ugnen."_s })
                    .ok());
        QVERIFY(m_db.execute("INSERT INTO tblRecept (RID, Titel) VALUES (8, 'Tom');").ok());
        // 4.5 MB whose tags would make a page of about a terabyte.
        QVERIFY(m_db.execute("INSERT INTO tblRecept (RID, Titel, Ingredienser, Anvisningar) VALUES (10, "
                             "'Bomb', ?1, ?2);",
                        { u"[ANV]"_s.repeated(300000), QString(3000000, u'x') })
                    .ok());
        // Read from a file with bare LF line ends.
        QVERIFY(m_db.execute("INSERT INTO tblRecept (RID, Titel, Ingredienser) VALUES (9, 'Plättar', ?1);",
                        { u"1 dl mjöl\n2 ägg"_s })
                    .ok());
    }
    void init() { clean(); }
    void expand_data()
    {
        QTest::addColumn<QString>("templ");
        QTest::addColumn<Recipe>("recipe");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("page");
        const Recipe full { u"Kaka"_s, u"4"_s, u"1 h"_s, u"mjöl\r\nägg\r\nsmör"_s, u"Rör.\r\nGrädda."_s };
        const QString all = u"[TITEL]|[PORTIONER]|[TID]|[ING]|[ANV]|[BILD]"_s;
        QTest::newRow("every tag")
            << all << full << u"/p/bilder/7.jpg"_s
            << u"Kaka|4|1 h|mjöl<br>ägg<br>smör|Rör.<br>Grädda.|<img src=\"/p/bilder/7.jpg\">"_s;
        QTest::newRow("no picture, null columns")
            << all << Recipe { u"Kaka"_s, {}, {}, {}, {} } << QString() << u"Kaka|||||"_s;
        QTest::newRow("every occurrence") << u"<TITLE>[TITEL]</TITLE><b>[TITEL]</b>[TITEL]"_s << full
                                          << QString() << u"<TITLE>Kaka</TITLE><b>Kaka</b>Kaka"_s;
        QTest::newRow("small letters and half tags stay")
            << u"[titel] [Ing] TITEL] [TITEL"_s << full << QString() << u"[titel] [Ing] TITEL] [TITEL"_s;
        QTest::newRow("no tags") << u"<p>\r\nBara text\r\n"_s << full << u"/x.gif"_s
                                 << u"<p>\r\nBara text\r\n"_s;
        // Later tags inside earlier values are replaced; earlier ones stay.
        QTest::newRow("title holding a later tag")
            << u"[TITEL]"_s << Recipe { u"Se [ING] och [BILD]"_s, {}, {}, u"a\r\nb"_s, {} } << u"/b.gif"_s
            << u"Se a<br>b och <img src=\"/b.gif\">"_s;
        QTest::newRow("ingredients holding an earlier tag")
            << u"[ING]"_s << Recipe { u"Kaka"_s, {}, {}, u"[TITEL] [ANV]"_s, u"rör"_s } << QString()
            << u"[TITEL] rör"_s;
        QTest::newRow("values go in as they are")
            << u"[TITEL]:[ANV]"_s << Recipe { u"<b>Fisk & chips</b>"_s, {}, {}, {}, u"1 < 2 &amp;"_s }
            << QString() << u"<b>Fisk & chips</b>:1 < 2 &amp;"_s;
        QTest::newRow("only CR LF is a line break")
            << u"[ING]"_s << Recipe { {}, {}, {}, u"a\nb\rc\r\n"_s, {} } << QString() << u"a\nb\rc<br>"_s;
    }
    void expand()
    {
        QFETCH(QString, templ);
        QFETCH(Recipe, recipe);
        QFETCH(QString, picture);
        QFETCH(QString, page);
        QCOMPARE(PrintTemplate::expand(templ, recipe, picture).value_or(u"-"_s), page);
    }

    // Each step's growth is counted before it is made, in the order of the tags.
    void pageBound_data()
    {
        QTest::addColumn<QString>("templ");
        QTest::addColumn<Recipe>("recipe");
        QTest::addColumn<int>("bound");
        QTest::addColumn<QString>("page");
        const Recipe tagged { u"[ANV][ANV]"_s, {}, {}, {}, u"xxxxxxxxxx"_s };
        const QString twenty = u"x"_s.repeated(20);
        const QString None = u"(ingen sida)"_s;
        QTest::newRow("at the bound") << u"[TITEL]"_s << tagged << 20 << twenty;
        QTest::newRow("one over") << u"[TITEL]"_s << tagged << 19 << None;
        QTest::newRow("over at a later step") << u"[TITEL]!"_s << tagged << 20 << None;
        QTest::newRow("an earlier tag in a later value stays")
            << u"[ANV]"_s << Recipe { {}, {}, {}, {}, u"[TITEL]"_s.repeated(4) } << 28
            << u"[TITEL]"_s.repeated(4);
        QTest::newRow("shrinking") << u"[TITEL]-[TITEL]"_s << Recipe {} << 15 << u"-"_s;
        QTest::newRow("a template over the bound") << u"0123456789"_s << Recipe {} << 9 << None;
    }
    void pageBound()
    {
        const QString None = u"(ingen sida)"_s;
        QFETCH(QString, templ);
        QFETCH(Recipe, recipe);
        QFETCH(int, bound);
        QFETCH(QString, page);
        QCOMPARE(PrintTemplate::expand(templ, recipe, QString(), bound).value_or(None), page);
    }

    // Compared with the template as the program has always shipped it.
    void defaultTemplateByteForByte()
    {
        const TextFile::WriteResult r = PrintPage::RestoreDefaultTemplate(folder());
        QVERIFY2(r.ok, qPrintable(r.error));
        const QByteArray written = bytesOf(path(u"print.htm"_s));
        QCOMPARE(written, bytesOf(QStringLiteral(GASTRID_TEST_DATA "/print/default_print.htm")));
        const QList<QByteArray> lines = written.split('\n');
        QCOMPARE(lines.size(), 66);
        QVERIFY(lines.at(35).endsWith(".example\r"));
    }

    void buildsThePage()
    {
        const PrintPage::Result r = PrintPage::BuildPrintPage(m_db, folder(), 7);
        QVERIFY2(r.ok, qPrintable(r.error));
        // A missing template is first written as the default.
        QCOMPARE(bytesOf(path(u"print.htm"_s)),
            bytesOf(QStringLiteral(GASTRID_TEST_DATA "/print/default_print.htm")));
        const QByteArray page = bytesOf(r.pagePath);
        QCOMPARE(r.pagePath, QFileInfo(path(u"tmpPrint.htm"_s)).absoluteFilePath());
        QVERIFY(page.endsWith("</HTML>\r\n\r\n\r\n"));
        QVERIFY(page.contains("<TITLE>\xc4ppelkaka</TITLE>"));
        QVERIFY(page.contains("<br>&#8531; dl socker<br>3 \xe4pplen</td>"));
        QVERIFY(page.contains("<b>Portioner: </b>4</td>"));
        QVERIFY(page.contains("Gr\xe4"
                              "dda <b>mitt</b> i ugnen."));
        // Each line the main window shows is a line of the page, whatever its line end.
        QVERIFY(PrintPage::BuildPrintPage(m_db, folder(), 9).ok);
        QVERIFY(bytesOf(r.pagePath).contains("<br>1 dl mj\xf6l<br>2 \xe4gg</td>"));

        // A picture file of the recipe is named by its full path.
        QVERIFY(QDir(folder()).mkpath(u"bilder"_s));
        put(path(u"bilder/7.jpg"_s), "x");
        QVERIFY(PrintPage::BuildPrintPage(m_db, folder(), 7).ok);
        const QString img = u"<img src=\"%1\">"_s.arg(QFileInfo(path(u"bilder/7.jpg"_s)).absoluteFilePath());
        QVERIFY(bytesOf(r.pagePath).contains(img.toLatin1()));
        QFile::remove(path(u"bilder/7.jpg"_s));
    }

    // For eight instead of four: the amounts scaled and the portions line
    // showing eight on the page; the stored recipe stays as it was.
    void forOtherPortions()
    {
        put(path(u"print.htm"_s), "<p>[PORTIONER]</p><p>[ING]</p>");
        const PrintPage::Result r = PrintPage::BuildPrintPage(m_db, folder(), 7, 8);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(bytesOf(r.pagePath), "<p>8</p><p>&#8532; dl socker<br>6 \xe4pplen</p>\r\n"_ba);
        QCOMPARE(PrintPage::readRecipe(m_db, 7).value()->ingredienser, u"⅓ dl socker\r\n3 äpplen"_s);
        // Portions that do not start with a number: the page as stored.
        const Recipe some { u"Soppa"_s, u"några"_s, {}, u"2 dl mjölk"_s, {} };
        const Recipe same = PrintPage::forPortions(some, 8);
        QCOMPARE(same.antalPersoner, some.antalPersoner);
        QCOMPARE(same.ingredienser, some.ingredienser);
    }

    // Whatever fails, the user is told, and the template is kept as it was.
    void failures_data()
    {
        QTest::addColumn<qint32>("rid");
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("error");
        QTest::newRow("recipe gone") << 99 << QString() << u"Receptet finns inte längre."_s;
        QTest::newRow("template unreadable") << 7 << u"print.htm"_s << u"Utskriftsmallen"_s;
        QTest::newRow("page unwritable") << 7 << u"tmpPrint.htm"_s << u"Sidan"_s;
        QTest::newRow("template a FIFO") << 7 << u"fifo:print.htm"_s << u"Utskriftsmallen"_s;
        QTest::newRow("template over the cap") << 7 << u"big:print.htm"_s << u"Utskriftsmallen"_s;
        QTest::newRow("page too big")
            << 10 << QString()
            << u"Utskriftssidan för \"Bomb\" skulle bli för stor (mer än 16 miljoner tecken)"_s;
    }
    void failures()
    {
        QFETCH(qint32, rid);
        QFETCH(QString, blocked);
        QFETCH(QString, error);
        clean();
        const QString kind = blocked.section(u':', 0, -2);
        blocked = blocked.section(u':', -1);
        if (blocked != u"print.htm"_s)
            put(path(u"print.htm"_s), "<p>[TITEL]</p>[ING][ANV]");
        if (kind == u"fifo"_s)
            QVERIFY(::mkfifo(QFile::encodeName(path(blocked)).constData(), 0600) == 0);
        else if (kind == u"big"_s) {
            put(path(blocked), "<p>[TITEL]</p>");
            QVERIFY(QFile(path(blocked)).resize(UserFile::MaxBytes + 1));
        } else if (!blocked.isEmpty())
            QVERIFY(QDir(folder()).mkdir(blocked));
        const PrintPage::Result r = PrintPage::BuildPrintPage(m_db, folder(), rid);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
        if (blocked != u"print.htm"_s)
            QCOMPARE(bytesOf(path(u"print.htm"_s)), "<p>[TITEL]</p>[ING][ANV]"_ba);
        if (blocked != u"tmpPrint.htm"_s)
            QVERIFY(!QFile::exists(path(u"tmpPrint.htm"_s)));
        QFile::remove(path(blocked));
    }

    // The template as a user's editor may leave it: UTF-8 reads as written;
    // one over the cap is refused with a message, not read into memory.
    void handEditedTemplate_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("error");
        QTest::newRow("UTF-8") << "\xEF\xBB\xBF<p>S\xC3\xB6t: [TITEL]</p>"_ba
                               << "<p>S\xF6t: \xC4ppelkaka</p>"_ba << QString();
        QTest::newRow("too large") << QByteArray(2 * 1024 * 1024, ' ') << QByteArray()
                                   << u"Utskriftsmallen kunde inte läsas. Filen "_s;
    }
    void handEditedTemplate()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, page);
        QFETCH(QString, error);
        put(path(u"print.htm"_s), bytes);
        const PrintPage::Result r = PrintPage::BuildPrintPage(m_db, folder(), 7);
        QCOMPARE(r.ok, error.isEmpty());
        QVERIFY2(
            r.error.startsWith(error) && r.error.contains(u"större än 1 MB") != r.ok, qPrintable(r.error));
        if (r.ok)
            QVERIFY2(bytesOf(r.pagePath).startsWith(page), bytesOf(r.pagePath).constData());
    }

    void savedTemplate_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("line ends and one more") << u"<p>[TITEL]\n</p>\n"_s << "<p>[TITEL]\r\n</p>\r\n\r\n"_ba;
        QTest::newRow("Windows-1252") << u"åäö €"_s << "\xe5\xe4\xf6 \x80\r\n"_ba;
        QTest::newRow("refused, the file kept") << u"⅓"_s << "old"_ba;
    }
    void savedTemplate()
    {
        QFETCH(QString, editor);
        QFETCH(QByteArray, bytes);
        put(path(u"print.htm"_s), "old");
        const TextFile::WriteResult r = PrintPage::saveTemplate(folder(), editor);
        QCOMPARE(r.ok, bytes != "old");
        QCOMPARE(bytesOf(path(u"print.htm"_s)), bytes);
        // What is read back is what the editor held, with the one line end more.
        if (r.ok)
            QCOMPARE(PrintPage::readTemplate(folder(), nullptr).value_or(u"-"_s).replace(u"\r\n"_s, u"\n"_s),
                editor + u"\n"_s);
    }

    void pdfFileName_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("the title") << u"Äppelkaka"_s << u"/hem/ut/Äppelkaka.pdf"_s;
        QTest::newRow("characters no file name holds")
            << u"Fisk/chips: 2*? \"<a>|\\"_s << u"/hem/ut/Fisk chips 2 a.pdf"_s;
        QTest::newRow("control characters") << u"a\tb\u0001c"_s << u"/hem/ut/a b c.pdf"_s;
        QTest::newRow("no hidden file") << u"..Kaka"_s << u"/hem/ut/Kaka.pdf"_s;
        QTest::newRow("a long title is cut")
            << u"x"_s.repeated(300) << u"/hem/ut/%1.pdf"_s.arg(u"x"_s.repeated(120));
        QTest::newRow("no title: the previous file") << u" / "_s << u"/hem/ut/förra.pdf"_s;
    }
    void pdfFileName()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(PrintPage::pdfFileName(u"/hem/ut/förra.pdf"_s, title), name);
    }

    void characterReferences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("Windows-1252 stays") << u"åäö € œ &#8531;"_s << u"åäö € œ &#8531;"_s;
        QTest::newRow("outside it") << u"⅓ ł 🍰"_s << u"&#8531; &#322; &#127856;"_s;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u"x"_s << u"&#65533;x"_s;
    }
    void characterReferences()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(PageWriter::withCharacterReferences(text), written);
    }
};

QTEST_GUILESS_MAIN(TestPrintPage)
#include "tst_printpage.moc"
