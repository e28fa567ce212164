// The pieces of a mail that no server test pins down exactly: recipients as
// typed, quoted-printable lines and replies split over reads.
#include "core/exchange/MailMessage.h"
#include "core/exchange/QuotedPrintable.h"
#include "core/exchange/SmtpReply.h"

#include <QTest>

class TestMailMessage : public QObject {
    Q_OBJECT

private slots:
    void recipients_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("picked");
        QTest::addColumn<QStringList>("pairs");
        QTest::newRow("comma and space")
            << "a@x.se, b@y.se" << QStringList() << QStringList { "|a@x.se", "|b@y.se" };
        QTest::newRow("colon") << "a@x.se:b@y.se" << QStringList() << QStringList { "|a@x.se", "|b@y.se" };
        QTest::newRow("trailing ;") << "a@x.se;" << QStringList { "A|a@x.se" } << QStringList { "A|a@x.se" };
        QTest::newRow("one removed by hand")
            << ";b@y.se;;c@z.se" << QStringList { "A|a@x.se", "B|b@y.se", "C|c@z.se" }
            << QStringList { "B|b@y.se", "C|c@z.se" };
        QTest::newRow("one typed by hand in front")
            << "x@q.se;a@x.se" << QStringList { "A|a@x.se" } << QStringList { "|x@q.se", "A|a@x.se" };
        QTest::newRow("letter case") << "A@X.se" << QStringList { "A|a@x.se" } << QStringList { "A|A@X.se" };
    }
    void recipients()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, picked);
        QFETCH(QStringList, pairs);
        QList<MailMessage::Mailbox> book;
        for (const QString& p : picked)
            book.append({ p.section('|', 0, 0), p.section('|', 1) });
        QStringList got;
        for (const MailMessage::Mailbox& m : MailMessage::recipients(typed, book))
            got << m.name + "|" + m.address;
        QCOMPARE(got, pairs);
    }

    void quotedPrintable_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("equals sign and trailing space")
            << QByteArray("a = b \r\nc\t") << QByteArray("a =3D b=20\r\nc=09");
        QTest::newRow("a code is never split")
            << QByteArray(74, 'x') + "\xff" + "y" << QByteArray(74, 'x') + "=\r\n=FFy";
        QTest::newRow("exactly 76 needs no break") << QByteArray(76, 'x') << QByteArray(76, 'x');
    }
    void quotedPrintable()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, encoded);
        QCOMPARE(QuotedPrintable::encode(text), encoded);
        QCOMPARE(QuotedPrintable::decode(encoded), text);
    }

    void replies_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<bool>("failed");
        QTest::newRow("continuation split inside the code")
            << QList<QByteArray> { "250-post.example\r\n25", "0-STARTTLS\r", "\n250 HELP\r\n" }
            << QStringList { "250:post.example|STARTTLS|HELP" } << false;
        QTest::newRow("two replies in one read, bare LF")
            << QList<QByteArray> { "220 hej\n250 ok\n" } << QStringList { "220:hej", "250:ok" } << false;
        QTest::newRow("incomplete reply is not handed out")
            << QList<QByteArray> { "354-a\r\n" } << QStringList() << false;
        QTest::newRow("not a reply") << QList<QByteArray> { "HTTP/1.1 400\r\n250 ok\r\n" }
                                     << QStringList { "0:HTTP/1.1 400" } << true;
        QTest::newRow("endless line") << QList<QByteArray> { QByteArray(5000, '2') } << QStringList() << true;
    }
    void replies()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QStringList, replies);
        QFETCH(bool, failed);
        SmtpReplyReader reader;
        QStringList got;
        for (const QByteArray& r : reads) {
            reader.feed(r);
            while (std::optional<SmtpReply> reply = reader.next()) {
                QStringList texts;
                for (const QString& l : reply->lines)
                    texts << (reply->code ? l.mid(4) : l);
                got << QString::number(reply->code) + ":" + texts.join("|");
            }
        }
        QCOMPARE(got, replies);
        QCOMPARE(reader.failed(), failed);
    }
};

QTEST_MAIN(TestMailMessage)
#include "tst_mailmessage.moc"
