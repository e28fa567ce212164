#pragma once

// The names of the files and folders the program keeps in its folder, in one
// place: a download or an update must never replace one of them, and a name
// added here is protected at once.
namespace ProgramFiles {

inline constexpr char16_t Cookbook[] = u"dbRcp.mdb";
inline constexpr char16_t UpdateDescription[] = u"update.txt";
inline constexpr char16_t ImportTemp[] = u"tmpRecept.txt";
inline constexpr char16_t PrintTemplate[] = u"print.htm";
inline constexpr char16_t PrintPage[] = u"tmpPrint.htm";
inline constexpr char16_t MenuPage[] = u"tmpMatsedel.htm";
inline constexpr char16_t ShoppingPage[] = u"tmpInkopslista.htm";
inline constexpr char16_t MailSettings[] = u"er.txt";
inline constexpr char16_t AddressBook[] = u"adresser.txt";
inline constexpr char16_t Pictures[] = u"bilder";
inline constexpr char16_t Backups[] = u"backup";
inline constexpr char16_t Manual[] = u"Manual";
inline constexpr char16_t Program[] = u"gastrid";

inline constexpr const char16_t* All[] = { Cookbook, UpdateDescription, ImportTemp, PrintTemplate, PrintPage,
    MenuPage, ShoppingPage, MailSettings, AddressBook, Pictures, Backups, Manual, Program };

} // namespace ProgramFiles
