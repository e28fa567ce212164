#include "support/MailServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

// aiosmtpd's own SMTP class: its command line has no option for a login.
const char* const ServerScript = R"PY(
import argparse, asyncio, json, logging, os, ssl, warnings
from aiosmtpd.smtp import SMTP, AuthResult
warnings.simplefilter("ignore")
logging.disable(logging.CRITICAL)

p = argparse.ArgumentParser()
p.add_argument("--port", type=int)
p.add_argument("--folder")
p.add_argument("--cert")
p.add_argument("--key")
p.add_argument("--starttls", action="store_true")
p.add_argument("--implicit-tls", action="store_true")
p.add_argument("--user")
p.add_argument("--password")
p.add_argument("--exclude-auth", action="append", default=[])
a = p.parse_args()

class Store:
    def __init__(self):
        self.count = 0
    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        name = os.path.join(a.folder, "%03d" % self.count)
        with open(name + ".json", "w") as f:
            json.dump({"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos}, f)
        with open(name + ".tmp", "wb") as f:
            f.write(envelope.original_content)
        os.rename(name + ".tmp", name + ".eml")
        return "250 2.0.0 Tack, mottaget"

def authenticate(server, session, envelope, mechanism, data):
    ok = data.login.decode() == a.user and data.password.decode() == a.password
    return AuthResult(success=ok, handled=False)

context = None
if a.cert:
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(a.cert, a.key)
handler = Store()
def factory():
    return SMTP(handler, hostname="post.example",
                tls_context=context if a.starttls else None, require_starttls=a.starttls,
                authenticator=authenticate if a.user else None, auth_required=bool(a.user),
                # Over TLS from the first byte aiosmtpd does not know it is
                # encrypted; the test's client never logs in without TLS.
                auth_require_tls=not a.implicit_tls, auth_exclude_mechanism=a.exclude_auth)
loop = asyncio.new_event_loop()
server = loop.run_until_complete(loop.create_server(
    factory, host="127.0.0.1", port=a.port, ssl=context if a.implicit_tls else None))
# The test holds our stdin open; should it die, we go too.
def parent_gone():
    if not os.read(0, 1024):
        loop.stop()
loop.add_reader(0, parent_gone)
print("ready", flush=True)
loop.run_forever()
)PY";

const char* const ParseScript = R"PY(
import email, email.utils, json, re, sys
from email import policy
raw = open(sys.argv[1], "rb").read()
msg = email.message_from_bytes(raw, policy=policy.default)
def pairs(h):
    return [[x.display_name, x.addr_spec] for x in msg[h].addresses] if msg[h] is not None else []
try:
    email.utils.parsedate_to_datetime(msg["Date"])
    date_ok = True
except Exception:
    date_ok = False
defects = [str(d) for d in msg.defects]
for h in msg.keys():
    defects += [str(d) for d in getattr(msg[h], "defects", [])]
body = msg.get_content().replace("\r\n", "\n")
out = {
    "from": pairs("From"), "to": pairs("To"), "subject": str(msg["Subject"]),
    "date_ok": date_ok, "message_id": str(msg["Message-ID"]),
    "mime_version": str(msg["MIME-Version"]), "content_type": msg.get_content_type(),
    "charset": msg.get_content_charset(), "cte": str(msg["Content-Transfer-Encoding"]),
    "body": body, "max_line": max(len(l) for l in raw.split(b"\r\n")),
    "bare_lf": bool(re.search(rb"(?<!\r)\n", raw)), "defects": defects,
}
out.update(json.load(open(sys.argv[1][:-4] + ".json")))
json.dump(out, sys.stdout)
)PY";

} // namespace

MailServer::~MailServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

quint16 MailServer::freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool MailServer::makeCertificate()
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
        { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
            QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
            QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
            QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
            QStringLiteral("-keyout"), m_dir.filePath("key.pem"), QStringLiteral("-out"),
            m_dir.filePath("cert.pem") });
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) {
        qWarning("openssl: %s", openssl.readAll().constData());
        return false;
    }
    return true;
}

QList<QSslCertificate> MailServer::certificate() const
{
    return QSslCertificate::fromPath(m_dir.filePath("cert.pem"));
}

std::unique_ptr<MailServer> MailServer::aiosmtpd(const Options& o)
{
    std::unique_ptr<MailServer> s(new MailServer);
    const QString script = s->m_dir.filePath("server.py");
    QFile f(script);
    if (!f.open(QIODevice::WriteOnly) || f.write(ServerScript) < 0)
        return nullptr;
    f.close();
    QDir(s->m_dir.path()).mkdir(QStringLiteral("mail"));
    s->m_port = freePort();
    QStringList args { script, QStringLiteral("--port"), QString::number(s->m_port),
        QStringLiteral("--folder"), s->m_dir.filePath("mail") };
    if (o.starttls || o.implicitTls) {
        if (!s->makeCertificate())
            return nullptr;
        args << QStringLiteral("--cert") << s->m_dir.filePath("cert.pem") << QStringLiteral("--key")
             << s->m_dir.filePath("key.pem");
        args << (o.starttls ? QStringLiteral("--starttls") : QStringLiteral("--implicit-tls"));
    }
    if (!o.user.isEmpty())
        args << QStringLiteral("--user") << o.user << QStringLiteral("--password") << o.password;
    for (const QString& m : o.excludeAuth)
        args << QStringLiteral("--exclude-auth") << m;
    s->m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    s->m_process.start(Python, args);
    QElapsedTimer t;
    t.start();
    while (!s->m_process.canReadLine() && t.elapsed() < 60000)
        if (!s->m_process.waitForReadyRead(1000) && s->m_process.state() == QProcess::NotRunning)
            break;
    if (s->m_process.readLine().trimmed() != "ready") {
        qWarning("aiosmtpd did not start");
        return nullptr;
    }
    return s;
}

std::unique_ptr<MailServer> MailServer::smtpSink(const QStringList& options)
{
    std::unique_ptr<MailServer> s(new MailServer);
    s->m_port = freePort();
    QStringList args { QStringLiteral("-v") };
    // smtp-sink refuses to run as root without a user to become.
    if (QDir::home().dirName() == QLatin1String("root") || qgetenv("USER") == "root")
        args << QStringLiteral("-u") << QStringLiteral("nobody");
    args << options << QStringLiteral("127.0.0.1:%1").arg(s->m_port) << QStringLiteral("10");
    s->m_process.setProcessChannelMode(QProcess::MergedChannels);
    s->m_process.start(QStringLiteral("/usr/sbin/smtp-sink"), args);
    if (!s->waitUntilListening(s->m_process)) {
        qWarning("smtp-sink did not start: %s", s->m_process.readAll().constData());
        return nullptr;
    }
    return s;
}

bool MailServer::waitUntilListening(QProcess& p)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 60000 && p.state() != QProcess::NotRunning) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            return true;
        }
        QTest::qWait(100);
    }
    return false;
}

QStringList MailServer::messages() const
{
    QStringList out;
    const QDir dir(m_dir.filePath("mail"));
    for (const QString& name : dir.entryList({ QStringLiteral("*.eml") }, QDir::Files, QDir::Name))
        out << dir.filePath(name);
    return out;
}

QStringList MailServer::conversation()
{
    m_log += QString::fromUtf8(m_process.readAll());
    static const QStringList verbs { QStringLiteral("EHLO"), QStringLiteral("HELO"), QStringLiteral("MAIL"),
        QStringLiteral("RCPT"), QStringLiteral("DATA"), QStringLiteral("."), QStringLiteral("QUIT"),
        QStringLiteral("AUTH"), QStringLiteral("STARTTLS"), QStringLiteral("RSET") };
    QStringList commands;
    for (const QString& line : m_log.split(QLatin1Char('\n'))) {
        // "/usr/sbin/smtp-sink: EHLO [127.0.0.1]"
        const QString said = line.section(QStringLiteral(": "), 1);
        if (line.section(QStringLiteral(": "), 0, 0).endsWith(QLatin1String("smtp-sink"))
            && verbs.contains(said.section(u' ', 0, 0)))
            commands << said;
    }
    return commands;
}

QJsonObject MailServer::parse(const QString& messageFile) const
{
    QProcess p;
    p.start(Python, { QStringLiteral("-c"), QString::fromUtf8(ParseScript), messageFile });
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning("parse failed: %s", p.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}
