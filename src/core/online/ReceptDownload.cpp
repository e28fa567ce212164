#include "core/online/ReceptDownload.h"

#include "core/text/AtomicFile.h"

#include "core/catalogue/Pictures.h"
#include "core/exchange/ReceptImport.h"
#include "core/online/WebServer.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

QString shown(const QUrl& url)
{
    return url.toDisplayString();
}

// The picture types the cookbook keeps, known by their first bytes.
QString keptType(const QByteArray& b)
{
    if (b.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpg");
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (b.startsWith("BM"))
        return QStringLiteral("bmp");
    return {};
}

// Why a transfer that began gave nothing; empty for other endings.
QString cutOff(FetchUrl::Status s)
{
    if (s == FetchUrl::Status::Incomplete)
        return QStringLiteral("kom inte fram hel");
    if (s == FetchUrl::Status::TooSlow)
        return QStringLiteral("kom för långsamt");
    return {};
}

} // namespace

ReceptDownload::ReceptDownload(
    Database& db, QNetworkAccessManager& nam, const QString& programFolder, QObject* parent)
    : QObject(parent)
    , m_db(db)
    , m_folder(programFolder)
    , m_fetch(nam)
{
    connect(&m_fetch, &FetchUrl::finished, this, &ReceptDownload::fetched);
    m_readPage
        = [](const QByteArray& page, const QByteArray& contentType, const QUrl& url,
              const BackgroundJob::Control&) { return WebRecipePage::extract(page, contentType, url); };
}

QString ReceptDownload::badCodeMessage()
{
    return QStringLiteral("Recepten för angivna koder kunde inte laddas ner.\n"
                          "Kontrollera att du angivit rätt kod eller försök senare.");
}

bool ReceptDownload::isWebAddress(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QStringList ReceptDownload::codes(const QString& text)
{
    QStringList out;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        if (isWebAddress(line))
            line = line.trimmed();
        else
            line.remove(QLatin1Char(' '));
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

bool ReceptDownload::DownloadRecept(const QUrl& base, const QString& text)
{
    m_lines = codes(text);
    if (m_lines.isEmpty() || m_running)
        return false;
    m_base = base;
    m_index = 0;
    m_running = true;
    m_cancelled = false;
    m_failed.clear();
    next();
    return true;
}

void ReceptDownload::cancel()
{
    if (!m_running)
        return;
    m_cancelled = true;
    m_fetch.cancel();
    if (m_reading) {
        // Left to end on its own; its recipe is not wanted any more.
        m_reading->requestStop();
        m_reading = nullptr;
        continueLater();
    }
}

void ReceptDownload::continueLater()
{
    ++m_index;
    QTimer::singleShot(0, this, &ReceptDownload::next);
}

void ReceptDownload::next()
{
    if (m_cancelled || m_index >= m_lines.size()) {
        m_running = false;
        emit finished();
        return;
    }
    const QString& line = m_lines.at(m_index);
    FetchUrl::Options o;
    if (isWebAddress(line)) {
        m_phase = Phase::Page;
        o.maxBytes = PageLimit;
        m_fetch.start(QUrl(line, QUrl::TolerantMode), o);
    } else {
        m_phase = Phase::Code;
        // What the import would refuse to read is not fetched either.
        o.maxBytes = ReceptImport::FileLimit;
        m_fetch.start(WebServer::receptUrl(m_base, line), o);
    }
}

void ReceptDownload::fetched()
{
    switch (m_phase) {
    case Phase::Code:
        codeFetched();
        break;
    case Phase::Page:
        pageFetched();
        break;
    case Phase::Picture:
        pictureFetched();
        break;
    }
}

void ReceptDownload::codeFetched()
{
    switch (m_fetch.status()) {
    case FetchUrl::Status::Ok:
        break;
    case FetchUrl::Status::HttpError:
    case FetchUrl::Status::TooLarge:
        // A wrong code: the server had no such file, or sent something else.
        emit message(badCodeMessage());
        continueLater();
        return;
    case FetchUrl::Status::Incomplete:
    case FetchUrl::Status::TooSlow:
        emit message(QStringLiteral("Receptfilen för koden %1 %2, så inget recept från den har lagts in. "
                                    "Försök igen senare.")
                         .arg(m_lines.at(m_index), cutOff(m_fetch.status())));
        continueLater();
        return;
    default:
        // No connection: nothing comes back and nothing is said.
        continueLater();
        return;
    }
    const QByteArray& bytes = m_fetch.data();
    if (!bytes.isEmpty()) {
        if (!AtomicFile::writeAll(QDir(m_folder).filePath(ReceptImport::TempFileName), bytes)) {
            emit message(QStringLiteral("Receptfilen kunde inte sparas i %1.")
                             .arg(QDir::toNativeSeparators(m_folder)));
        } else if (!ReceptImport::firstLineHasTitel(bytes)) {
            emit message(badCodeMessage());
        } else {
            // The list shows the newest recipes after every file taken in, even
            // one that held none.
            const ReceptImport::Result r = ReceptImport::ImportRecept(m_db, m_folder);
            emit imported();
            if (!r.ok())
                emit message(r.error);
        }
    }
    continueLater();
}

std::optional<qint32> ReceptDownload::categoryFor(const WebRecipe& r)
{
    for (const QString& name : r.categories) {
        const auto kid = Catalogue::categoryNamed(m_db, name);
        if (kid && *kid)
            return **kid;
    }
    const auto all = Catalogue::allCategories(m_db);
    if (!all || !m_chooseCategory)
        return std::nullopt;
    return m_chooseCategory(r, *all);
}

void ReceptDownload::addressFailed(const QString& text)
{
    emit message(text);
    m_failed.append(m_lines.at(m_index));
    continueLater();
}

void ReceptDownload::pageFetched()
{
    const QString address = shown(QUrl(m_lines.at(m_index), QUrl::TolerantMode));
    switch (m_fetch.status()) {
    case FetchUrl::Status::Ok:
        readPage();
        return;
    case FetchUrl::Status::Cancelled:
        continueLater();
        return;
    case FetchUrl::Status::TooLarge:
        addressFailed(QStringLiteral("Sidan %1 är större än 5 MB och hämtades inte.").arg(address));
        return;
    case FetchUrl::Status::Incomplete:
    case FetchUrl::Status::TooSlow:
        addressFailed(
            QStringLiteral("Sidan %1 %2 och hämtades inte.").arg(address, cutOff(m_fetch.status())));
        return;
    default:
        addressFailed(QStringLiteral("Sidan %1 kunde inte hämtas.").arg(address));
        return;
    }
}

void ReceptDownload::readPage()
{
    auto result = std::make_shared<std::optional<WebRecipe>>();
    auto* job = new BackgroundJob(this);
    m_reading = job;
    connect(job, &BackgroundJob::finished, this, [this, job, result] {
        job->deleteLater();
        if (m_reading != job)
            return;
        m_reading = nullptr;
        pageRead(*result);
    });
    job->start(
        [reader = m_readPage, page = m_fetch.data(), type = m_fetch.contentType(), url = m_fetch.finalUrl(),
            result](const BackgroundJob::Control& c) { *result = reader(page, type, url, c); });
}

void ReceptDownload::pageRead(const std::optional<WebRecipe>& recipe)
{
    if (!recipe) {
        addressFailed(QStringLiteral("Det finns inget recept på sidan %1.")
                          .arg(shown(QUrl(m_lines.at(m_index), QUrl::TolerantMode))));
        return;
    }
    const std::optional<qint32> kid = categoryFor(*recipe);
    // "Avbryt" in the category question skips this recipe.
    if (!kid || m_cancelled) {
        continueLater();
        return;
    }
    storeWebRecipe(*recipe, *kid);
}

void ReceptDownload::storeWebRecipe(const WebRecipe& recipe, qint32 kid)
{
    const QString address = shown(QUrl(m_lines.at(m_index), QUrl::TolerantMode));
    ReceptImport::Block b;
    b.titel = recipe.name;
    b.kategori = QString::number(kid);
    b.portioner = recipe.yield;
    b.tid = recipe.time;
    b.ingredienser = recipe.ingredients.join(QStringLiteral("\r\n"));
    b.anvisningar = recipe.instructions.join(QStringLiteral("\r\n"));
    const DbResult<qint32> rid = ReceptImport::addRecipe(m_db, b);
    if (!rid) {
        addressFailed(
            QStringLiteral("Receptet från %1 kunde inte sparas.\n\n%2").arg(address, rid.error().describe()));
        return;
    }
    m_webRid = *rid;
    // A page taken in twice is stored again under a new title: say so.
    const auto stored = Catalogue::storedRecipe(m_db, *rid);
    if (stored && *stored && (*stored)->titel == recipe.name + QStringLiteral(" kopia"))
        emit message(
            QStringLiteral("Receptet \"%1\" fanns redan i kokboken. Receptet från %2 har sparats som "
                           "\"%3\".")
                .arg(recipe.name, address, (*stored)->titel));
    if (recipe.image.isEmpty() || m_cancelled) {
        emit imported();
        continueLater();
        return;
    }
    m_phase = Phase::Picture;
    FetchUrl::Options o;
    o.maxBytes = PictureLimit;
    m_fetch.start(recipe.image, o);
}

void ReceptDownload::pictureFetched()
{
    // A picture that cannot be had leaves the recipe without one.
    if (m_fetch.ok())
        storePicture();
    emit imported();
    continueLater();
}

void ReceptDownload::storePicture()
{
    std::optional<std::pair<QByteArray, QString>> picture;
    if (m_convertPicture)
        picture = m_convertPicture(m_fetch.data());
    else if (const QString ext = keptType(m_fetch.data()); !ext.isEmpty())
        picture = std::make_pair(m_fetch.data(), ext);
    if (!picture)
        return;
    // Through a file of the right type, so the picture rules stay in one place.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bild.") + picture->second);
    if (!dir.isValid() || !AtomicFile::writeAll(file, picture->first))
        return;
    const Pictures::Result r
        = Pictures::storePicture(QDir(m_folder).filePath(QStringLiteral("bilder")), m_webRid, file);
    if (!r.ok)
        emit message(r.error);
}
