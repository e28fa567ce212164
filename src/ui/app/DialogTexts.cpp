#include "ui/app/DialogTexts.h"

#include <QHash>

#include <algorithm>
#include <iterator>

namespace {

// The contexts of Qt's dialogs that are translated here; the same English
// word elsewhere (a key name, say) is left alone.
constexpr const char* Contexts[] = { "QPrintDialog", "QPrintWidget", "QPrintSettingsOutput",
    "QPrintPropertiesWidget", "QPrintPropertiesDialog", "QPageSetupWidget", "QPageSetupDialog",
    "QCupsJobWidget", "QUnixPrintWidget", "QPageSize", "QPlatformTheme", "QFileDialog", "QFileSystemModel",
    "QAbstractFileIconProvider", "QWidgetTextControl" };

struct Text {
    const char* english;
    const char16_t* swedish;
};

constexpr Text Texts[] = {
    // The print dialog.
    { "&Options <<", u"&Alternativ <<" },
    { "&Options >>", u"&Alternativ >>" },
    { "&Print", u"&Skriv ut" },
    { "Print", u"Skriv ut" },
    { "&Name:", u"&Namn:" },
    { "Location:", u"Plats:" },
    { "Type:", u"Typ:" },
    { "Output &file:", u"Skriv till &fil:" },
    { "P&roperties", u"&Egenskaper" },
    { "Preview", u"Förhandsgranska" },
    { "Printer", u"Skrivare" },
    { "Local file", u"Lokal fil" },
    { "Print to File (PDF)", u"Skriv till fil (PDF)" },
    { "Write PDF file", u"Skriv en PDF-fil" },
    { "Print To File ...", u"Skriv till fil ..." },
    { "All Pages", u"Alla sidor" },
    { "Even Pages", u"Jämna sidor" },
    { "Odd Pages", u"Udda sidor" },
    { "Bottom to Top, Left to Right", u"Nerifrån och upp, vänster till höger" },
    { "Bottom to Top, Right to Left", u"Nerifrån och upp, höger till vänster" },
    { "Left to Right, Bottom to Top", u"Vänster till höger, nerifrån och upp" },
    { "Left to Right, Top to Bottom", u"Vänster till höger, uppifrån och ner" },
    { "Right to Left, Bottom to Top", u"Höger till vänster, nerifrån och upp" },
    { "Right to Left, Top to Bottom", u"Höger till vänster, uppifrån och ner" },
    { "Top to Bottom, Left to Right", u"Uppifrån och ner, vänster till höger" },
    { "Top to Bottom, Right to Left", u"Uppifrån och ner, höger till vänster" },
    { "Collate", u"Sortera" },
    { "Color", u"Färg" },
    { "Color Mode", u"Färgläge" },
    { "Copies", u"Kopior" },
    { "Copies:", u"Kopior:" },
    { "Current Page", u"Aktuell sida" },
    { "Double Sided Printing", u"Dubbelsidig utskrift" },
    { "Grayscale", u"Gråskala" },
    { "Long side binding", u"Bindning längs långsidan" },
    { "Short side binding", u"Bindning längs kortsidan" },
    { "Off", u"Av" },
    { "Options", u"Alternativ" },
    { "Output Settings", u"Utskriftsinställningar" },
    { "Page Set:", u"Sidurval:" },
    { "Pages", u"Sidor" },
    { "Pages from", u"Sidor från" },
    { "to", u"till" },
    { "Print all", u"Skriv ut alla" },
    { "Print range", u"Utskriftsintervall" },
    { "Reverse", u"Omvänd ordning" },
    { "Selection", u"Markering" },
    { "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
      "hyphen. "
      "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
        u"Ange sidor eller intervall åtskilda med kommatecken. Ett intervall är två tal med bindestreck "
        u"emellan. Till exempel skriver 3,5-7,9 ut sidorna 3, 5, 6, 7 och 9." },
    { "Advanced", u"Avancerat" },
    { "Page", u"Sida" },
    { "Job Options", u"Jobbalternativ" },
    { "Printer Properties", u"Skrivaregenskaper" },
    { "%1 already exists.\nDo you want to overwrite it?", u"%1 finns redan.\nVill du skriva över den?" },
    { "File %1 is not writable.\nPlease choose a different file name.",
        u"Det går inte att skriva till filen %1.\nVälj ett annat filnamn." },
    { "%1 is a directory.\nPlease choose a different file name.",
        u"%1 är en mapp.\nVälj ett annat filnamn." },
    { "Invalid Pages Definition", u"Ogiltigt sidintervall" },
    { "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define "
      "ranges and make sure ranges do not intersect with each other.",
        u"%1 är inte rätt skrivet. Skilj sidor och intervall åt med ',', ange intervall med '-' och se till "
        u"att intervallen inte går in i varandra." },
    { "Options 'Pages Per Sheet' and 'Page Set' cannot be used together.\nPlease turn one of those options "
      "off.",
        u"'Sidor per ark' och 'Sidurval' kan inte användas samtidigt.\nStäng av det ena." },
    { "Duplex Settings Conflicts", u"Motstridiga inställningar för dubbelsidig utskrift" },
    { "There are conflicts in duplex settings. Do you want to fix them?",
        u"Inställningarna för dubbelsidig utskrift strider mot varandra. Vill du rätta dem?" },
    { "Page Setup Conflicts", u"Motstridiga sidinställningar" },
    { "There are conflicts in page setup options. Do you want to fix them?",
        u"Sidinställningarna strider mot varandra. Vill du rätta dem?" },
    { "Advanced Option Conflicts", u"Motstridiga avancerade alternativ" },
    { "There are conflicts in some advanced options. Do you want to fix them?",
        u"Några avancerade alternativ strider mot varandra. Vill du rätta dem?" },
    { "There are conflicts in some options. Please fix them.",
        u"Några alternativ strider mot varandra. Rätta dem." },
    // Page setup.
    { "Page Setup", u"Utskriftsformat" },
    { "Custom", u"Anpassad" },
    { "Width:", u"Bredd:" },
    { "Height:", u"Höjd:" },
    { "Inches (in)", u"Tum (in)" },
    { "Millimeters (mm)", u"Millimeter (mm)" },
    { "Points (pt)", u"Punkter (pt)" },
    { "Portrait", u"Stående" },
    { "Landscape", u"Liggande" },
    { "Reverse portrait", u"Omvänt stående" },
    { "Reverse landscape", u"Omvänt liggande" },
    { "Margins", u"Marginaler" },
    { "Orientation", u"Orientering" },
    { "Page Layout", u"Sidlayout" },
    { "Page order:", u"Sidordning:" },
    { "Page size:", u"Pappersstorlek:" },
    { "Pages per sheet:", u"Sidor per ark:" },
    { "Paper", u"Papper" },
    { "Paper source:", u"Papperskälla:" },
    { "top margin", u"övre marginal" },
    { "bottom margin", u"nedre marginal" },
    { "left margin", u"vänster marginal" },
    { "right margin", u"höger marginal" },
    { "Postcard", u"Vykort" },
    { "Double Postcard", u"Dubbelt vykort" },
    // Print jobs on a print server.
    { "Job", u"Jobb" },
    { "Job Control", u"Jobbhantering" },
    { "Job priority:", u"Jobbprioritet:" },
    { "Scheduled printing:", u"Schemalagd utskrift:" },
    { "Print Immediately", u"Skriv ut genast" },
    { "Hold Indefinitely", u"Vänta tills vidare" },
    { "Day (06:00 to 17:59)", u"Dag (06:00 till 17:59)" },
    { "Night (18:00 to 05:59)", u"Natt (18:00 till 05:59)" },
    { "Second Shift (16:00 to 23:59)", u"Andra skiftet (16:00 till 23:59)" },
    { "Third Shift (00:00 to 07:59)", u"Tredje skiftet (00:00 till 07:59)" },
    { "Weekend (Saturday to Sunday)", u"Helg (lördag till söndag)" },
    { "Specific Time", u"Vid en viss tid" },
    { "Billing information:", u"Faktureringsuppgifter:" },
    { "Banner Pages", u"Försättsblad" },
    { "Start:", u"Början:" },
    { "End:", u"Slut:" },
    { "None", u"Inget" },
    { "Standard", u"Standard" },
    { "Unclassified", u"Oklassificerad" },
    { "Confidential", u"Konfidentiell" },
    { "Classified", u"Klassificerad" },
    { "Secret", u"Hemlig" },
    { "Top Secret", u"Kvalificerat hemlig" },
    // Dialog buttons and the file dialog.
    { "OK", u"OK" },
    { "Cancel", u"Avbryt" },
    { "Save", u"Spara" },
    { "Open", u"Öppna" },
    { "&Open", u"&Öppna" },
    { "&Save", u"&Spara" },
    { "&Delete", u"&Ta bort" },
    { "&Rename", u"&Byt namn" },
    { "&New Folder", u"&Ny mapp" },
    { "All Files (*)", u"Alla filer (*)" },
    { "Back", u"Bakåt" },
    { "Forward", u"Framåt" },
    { "Go back", u"Gå bakåt" },
    { "Go forward", u"Gå framåt" },
    { "Parent Directory", u"Överordnad mapp" },
    { "Go to the parent directory", u"Gå till överordnad mapp" },
    { "Create New Folder", u"Skapa ny mapp" },
    { "Create a New Folder", u"Skapa en ny mapp" },
    { "List View", u"Lista" },
    { "Detail View", u"Detaljer" },
    { "Change to list view mode", u"Visa som lista" },
    { "Change to detail view mode", u"Visa med detaljer" },
    { "Look in:", u"Leta i:" },
    { "File &name:", u"Fil&namn:" },
    { "Files of type:", u"Filer av typen:" },
    { "Files", u"Filer" },
    { "Show &hidden files", u"Visa &dolda filer" },
    { "Sidebar", u"Sidopanel" },
    { "List of places and bookmarks", u"Platser och bokmärken" },
    { "%1 already exists.\nDo you want to replace it?", u"%1 finns redan.\nVill du ersätta den?" },
    { "Computer", u"Dator" },
    { "Name", u"Namn" },
    { "Size", u"Storlek" },
    { "Date Modified", u"Ändrad" },
    { "Drive", u"Enhet" },
    { "Folder", u"Mapp" },
    { "File Folder", u"Mapp" },
    { "File", u"Fil" },
    { "%1 File", u"%1-fil" },
    { "Shortcut", u"Genväg" },
    { "Alias", u"Alias" },
    { "File name:", u"Filnamn:" },
    { "Recent Places", u"Senaste platser" },
    { "&Choose", u"&Välj" },
    { "Directory", u"Mapp" },
    { "Show ", u"Visa " },
    { "Delete", u"Ta bort" },
    { "Are you sure you want to delete '%1'?", u"Vill du verkligen ta bort '%1'?" },
    { "Invalid filename", u"Ogiltigt filnamn" },
    { "<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters or no "
      "punctuation marks.",
        u"<b>Namnet \"%1\" kan inte användas.</b><p>Försök med ett annat namn, med färre tecken eller utan "
        u"skiljetecken." },
    // The buttons of Qt's questions (the file dialog's "replace?").
    { "&Yes", u"&Ja" },
    { "&No", u"&Nej" },
    { "Yes to &All", u"Ja till &alla" },
    { "N&o to All", u"N&ej till alla" },
    { "Save All", u"Spara alla" },
    { "Don't Save", u"Spara inte" },
    { "Abort", u"Avbryt" },
    { "Retry", u"Försök igen" },
    { "Ignore", u"Ignorera" },
    { "Close", u"Stäng" },
    { "Discard", u"Kasta" },
    { "Help", u"Hjälp" },
    { "Apply", u"Verkställ" },
    { "Reset", u"Återställ" },
    { "Restore Defaults", u"Återställ standardvärden" },
    // The edit menu of multi-line fields.
    { "&Undo", u"&Ångra" },
    { "&Redo", u"&Gör om" },
    { "Cu&t", u"Klipp &ut" },
    { "&Copy", u"&Kopiera" },
    { "Copy &Link Location", u"Kopiera &länkadress" },
    { "&Paste", u"Klistra &in" },
    { "Select All", u"Markera allt" },
};

} // namespace

DialogTexts::DialogTexts(QObject* parent)
    : QTranslator(parent)
{
}

QString DialogTexts::translate(const char* context, const char* sourceText, const char*, int) const
{
    static const QHash<QByteArray, QString> table = [] {
        QHash<QByteArray, QString> t;
        for (const Text& text : Texts)
            t.insert(QByteArray(text.english), QString::fromUtf16(text.swedish));
        return t;
    }();
    if (!context || !sourceText)
        return {};
    if (std::none_of(std::begin(Contexts), std::end(Contexts),
            [&](const char* c) { return qstrcmp(c, context) == 0; }))
        return {};
    const QByteArray source(sourceText);
    if (const auto it = table.constFind(source); it != table.constEnd())
        return *it;
    // Paper sizes: "Envelope C5" is a "Kuvert C5".
    if (qstrcmp(context, "QPageSize") == 0 && source.startsWith("Envelope "))
        return QStringLiteral("Kuvert ") + QString::fromUtf8(source.mid(9));
    return {};
}
