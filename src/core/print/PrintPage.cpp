#include "core/print/PrintPage.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Pictures.h"
#include "core/kitchen/Portions.h"
#include "core/print/PageWriter.h"
#include "core/text/UserFile.h"

#include <QDir>
#include <QFileInfo>

namespace PrintPage {

namespace {

QString inFolder(const QString& folder, const char16_t* name)
{
    return QFileInfo(QDir(folder).filePath(QString::fromUtf16(name))).absoluteFilePath();
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString templatePath(const QString& programFolder)
{
    return inFolder(programFolder, TemplateName);
}

QString pagePath(const QString& programFolder)
{
    return inFolder(programFolder, PageName);
}

DbResult<std::optional<PrintTemplate::Recipe>> readRecipe(Database& db, qint32 rid)
{
    const auto loaded = Catalogue::loadRecipe(db, rid);
    if (!loaded)
        return loaded.error();
    if (!*loaded)
        return std::optional<PrintTemplate::Recipe>();
    const Catalogue::Recipe& r = **loaded;
    // Every line end the main window shows is a line of the page.
    return std::optional<PrintTemplate::Recipe>(PrintTemplate::Recipe { r.titel, r.antalPersoner, r.tid,
        Catalogue::toStored(r.ingredienser), Catalogue::toStored(r.anvisningar) });
}

std::optional<QString> readTemplate(const QString& programFolder, QString* error)
{
    const QString path = templatePath(programFolder);
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile()) {
        // A FIFO or a device could hang or exhaust the program.
        if (error)
            *error = QStringLiteral("Utskriftsmallen %1 är ingen vanlig fil.").arg(shown(path));
        return std::nullopt;
    }
    std::optional<QString> text = UserFile::readExact(path, error);
    if (!text && error)
        *error = QStringLiteral("Utskriftsmallen kunde inte läsas. %1").arg(*error);
    return text;
}

TextFile::WriteResult RestoreDefaultTemplate(const QString& programFolder)
{
    TextFile::WriteResult r = TextFile::writeExact(
        templatePath(programFolder), PrintTemplate::defaultText() + QLatin1String("\r\n"));
    if (!r.ok)
        r.error
            = QStringLiteral("Utskriftsmallen %1 kunde inte sparas.").arg(shown(templatePath(programFolder)));
    return r;
}

TextFile::WriteResult saveTemplate(const QString& programFolder, const QString& editorText)
{
    QString text = editorText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    text.replace(u'\n', QLatin1String("\r\n"));
    TextFile::WriteResult r = UserFile::writeExact(templatePath(programFolder), text + QLatin1String("\r\n"));
    if (!r.ok && r.unencodable.isEmpty())
        r.error
            = QStringLiteral("Utskriftsmallen %1 kunde inte sparas.").arg(shown(templatePath(programFolder)));
    return r;
}

namespace {

std::optional<PrintTemplate::Recipe> readOrSay(Database& db, qint32 rid, Result* result)
{
    const auto recipe = readRecipe(db, rid);
    if (!recipe.ok()) {
        result->error = QStringLiteral("Receptet kunde inte läsas.\n%1").arg(recipe.error().describe());
        return std::nullopt;
    }
    if (!recipe.value())
        result->error = QStringLiteral("Receptet finns inte längre.");
    return recipe.value();
}

Result writePage(const QString& programFolder, qint32 rid, const PrintTemplate::Recipe& recipe)
{
    Result result;
    if (!QFileInfo::exists(templatePath(programFolder))) {
        const TextFile::WriteResult restored = RestoreDefaultTemplate(programFolder);
        if (!restored.ok) {
            result.error = restored.error;
            return result;
        }
    }
    const std::optional<QString> templ = readTemplate(programFolder, &result.error);
    if (!templ)
        return result;
    const QString picture
        = Pictures::ReceptBildFil(QDir(programFolder).filePath(QStringLiteral("bilder")), rid);
    const std::optional<QString> page = PrintTemplate::expand(
        *templ, recipe, picture.isEmpty() ? picture : QFileInfo(picture).absoluteFilePath());
    if (!page) {
        result.error
            = QStringLiteral("Utskriftssidan för \"%1\" skulle bli för stor (mer än %2 miljoner tecken) "
                             "och kan inte visas. Receptet eller utskriftsmallen innehåller för många "
                             "taggar eller för mycket text.")
                  .arg(recipe.titel.left(80))
                  .arg(PrintTemplate::MaxPageChars / (1024 * 1024));
        return result;
    }
    const QString path = pagePath(programFolder);
    if (!PageWriter::write(path, *page + QLatin1String("\r\n")).ok) {
        result.error = QStringLiteral("Sidan %1 kunde inte sparas.").arg(shown(path));
        return result;
    }
    result.ok = true;
    result.pagePath = path;
    return result;
}

} // namespace

Result BuildPrintPage(Database& db, const QString& programFolder, qint32 rid)
{
    Result result;
    const auto recipe = readOrSay(db, rid, &result);
    if (!recipe)
        return result;
    result = writePage(programFolder, rid, *recipe);
    result.portions = Portions::portionsOf(recipe->antalPersoner);
    return result;
}

Result BuildPrintPage(Database& db, const QString& programFolder, qint32 rid, int portions)
{
    Result result;
    const auto recipe = readOrSay(db, rid, &result);
    if (!recipe)
        return result;
    result = writePage(programFolder, rid, forPortions(*recipe, portions));
    result.portions = Portions::portionsOf(recipe->antalPersoner);
    return result;
}

QString pdfFileName(const QString& previousPdf, const QString& title)
{
    QString name;
    for (const QChar c : title) {
        // What Windows, a USB stick or a share would refuse, as well as '/'.
        const bool bad = c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c);
        name += bad ? QChar(u' ') : c;
    }
    name = name.simplified();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    name = name.left(120).trimmed();
    if (name.isEmpty())
        return previousPdf;
    return QDir(QFileInfo(previousPdf).absolutePath()).filePath(name + QLatin1String(".pdf"));
}

PrintTemplate::Recipe forPortions(const PrintTemplate::Recipe& recipe, int portions)
{
    const std::optional<int> stored = Portions::portionsOf(recipe.antalPersoner);
    if (!stored)
        return recipe;
    PrintTemplate::Recipe r = recipe;
    r.antalPersoner = Portions::portionsText(recipe.antalPersoner, portions);
    r.ingredienser = Portions::scaleText(recipe.ingredienser, *stored, portions);
    return r;
}

} // namespace PrintPage
