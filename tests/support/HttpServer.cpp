#include "support/HttpServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const char* const Handler = R"PY(
import gzip, http.server, os, sys, threading, time, urllib.parse

root = sys.argv[1]
www = os.path.join(root, 'www')
log = os.path.join(root, 'requests.log')
lock = threading.Lock()

class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, *args):
        pass

    def reply(self, code, data, ctype='application/octet-stream', extra=()):
        self.send_response(code)
        self.send_header('Content-Type', ctype)
        self.send_header('Content-Length', str(len(data)))
        for k, v in extra:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(data)

    def write(self, data):
        try:
            self.wfile.write(data)
            self.wfile.flush()
            return True
        except (BrokenPipeError, ConnectionResetError):
            return False

    def do_GET(self):
        with lock:
            with open(log, 'a', encoding='utf-8') as f:
                f.write(self.path + '\n')
        u = urllib.parse.urlsplit(self.path)
        q = urllib.parse.parse_qs(u.query, keep_blank_values=True)
        path = u.path
        if path.startswith('/status/'):
            return self.reply(int(path.split('/')[2]), b'<titel>Felsida</titel>\r\n', 'text/html')
        if path == '/redirect':
            code = int(q.get('code', ['302'])[0])
            return self.reply(code, b'', extra=[('Location', q['to'][0])])
        if path == '/stall':
            self.send_response(200)
            self.send_header('Content-Length', '100000')
            self.end_headers()
            self.write(b'x' * 10)
            time.sleep(float(q.get('s', ['60'])[0]))
            self.close_connection = True
            return
        if path == '/trickle':
            # Announces n bytes, then sends one every `every` seconds.
            n = int(q['n'][0])
            self.send_response(200)
            self.send_header('Content-Length', str(n))
            self.end_headers()
            for _ in range(n):
                if not self.write(b'z'):
                    break
                time.sleep(float(q.get('every', ['1'])[0]))
            self.close_connection = True
            return
        if path == '/big':
            n = int(q['n'][0])
            self.send_response(200)
            if 'nolength' in q:
                self.close_connection = True
                self.send_header('Connection', 'close')
            else:
                self.send_header('Content-Length', str(n))
            self.end_headers()
            sent = 0
            while sent < n:
                k = min(65536, n - sent)
                if not self.write(b'y' * k):
                    break
                sent += k
            return
        full = os.path.normpath(os.path.join(www, urllib.parse.unquote(path).lstrip('/')))
        if not full.startswith(www + os.sep) or not os.path.isfile(full):
            return self.reply(404, b'<html><titel>404 Not Found</titel></html>', 'text/html')
        with open(full, 'rb') as f:
            data = f.read()
        code = 200
        if os.path.exists(full + '.status'):
            code = int(open(full + '.status').read())
        ctype = 'text/html; charset=utf-8' if full.endswith('.html') else 'application/octet-stream'
        if os.path.exists(full + '.gzip'):
            return self.reply(code, gzip.compress(data), ctype, [('Content-Encoding', 'gzip')])
        if os.path.exists(full + '.cut') or os.path.exists(full + '.nolength'):
            # The whole length announced (unless .nolength), a part sent, then closed.
            self.send_response(code)
            self.send_header('Content-Type', ctype)
            self.send_header('Connection', 'close')
            if not os.path.exists(full + '.nolength'):
                self.send_header('Content-Length', str(len(data)))
            self.end_headers()
            cut = open(full + '.cut').read() if os.path.exists(full + '.cut') else ''
            self.write(data[:int(cut)] if cut else data)
            self.close_connection = True
            return
        if os.path.exists(full + '.slow'):
            self.send_response(code)
            self.send_header('Content-Length', str(len(data)))
            self.end_headers()
            half = len(data) // 2
            if self.write(data[:half]):
                time.sleep(float(open(full + '.slow').read() or '30'))
                self.write(data[half:])
            self.close_connection = True
            return
        self.reply(code, data, ctype)

class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass

srv = Server(('127.0.0.1', 0), Handler)
print(srv.server_address[1], flush=True)
srv.serve_forever()
)PY";

} // namespace

HttpServer::~HttpServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

bool HttpServer::start()
{
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QStringLiteral("www")))
        return false;
    const QString script = m_dir.filePath(QStringLiteral("server.py"));
    QFile f(script);
    if (!f.open(QIODevice::WriteOnly) || f.write(Handler) < 0)
        return false;
    f.close();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("/usr/bin/python3"), { script, m_dir.path() });
    if (!m_process.waitForStarted(30000))
        return false;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(60000))
            return false;
    }
    m_port = m_process.readLine().trimmed().toInt();
    return m_port > 0;
}

QUrl HttpServer::base() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port));
}

QUrl HttpServer::url(const QString& pathAndQuery) const
{
    return QUrl(base().toString() + pathAndQuery);
}

void HttpServer::put(const QString& path, const QByteArray& bytes)
{
    const QString full = QDir(m_dir.filePath(QStringLiteral("www"))).filePath(path);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QStringList HttpServer::requests() const
{
    QFile f(m_dir.filePath(QStringLiteral("requests.log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void HttpServer::clearRequests()
{
    QFile::remove(m_dir.filePath(QStringLiteral("requests.log")));
}
