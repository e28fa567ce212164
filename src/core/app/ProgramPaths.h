#pragma once

#include <QString>

// Where the program keeps its files. A portable install holds everything in
// the executable's folder. An installed program reads what it delivers (the
// manual, the first cookbook) from its share folder and keeps each user's
// cookbook, pictures and settings in a data folder of that user's own.
struct ProgramPaths {
    enum class Kind { Portable, Installed };

    // What the program finds around itself at start.
    struct Surroundings {
        QString executableFolder;
        // $XDG_DATA_HOME as set (may be empty or relative).
        QString xdgDataHome;
        QString home;
        // The executable's folder holds dbRcp.mdb.
        bool cookbookBesideExecutable = false;
        // The installed share folder holds the delivered dbRcp.mdb.
        bool deliveredCookbookInstalled = false;
    };

    Kind kind = Kind::Portable;
    // dbRcp.mdb, bilder/, backup/, print.htm, er.txt, adresser.txt, ...
    QString programFolder;
    // Manual/ and, for an installed program, the delivered cookbook.
    QString shareFolder;

    QString manualPath() const;
    QString deliveredCookbook() const;
    // A file or folder of the program folder, by its name there.
    QString file(const QString& name) const;
    QString databasePath() const { return file(QStringLiteral("dbRcp.mdb")); }
    QString pictureFolder() const { return file(QStringLiteral("bilder")); }
    QString backupFolder() const { return file(QStringLiteral("backup")); }

    // Everything in one folder, as a portable install and the tests have it.
    static ProgramPaths portable(const QString& folder);
    // The installed share folder for an executable in `executableFolder`.
    static QString installedShareFolder(const QString& executableFolder);
    // The executable's folder when it holds a cookbook; otherwise, when the
    // program is installed, "KROX Gastrid" in the user's data folder. With
    // neither, the executable's folder, where start-up then finds no cookbook.
    static ProgramPaths choose(const Surroundings& s);
    // Reads the environment and the file system.
    static Surroundings look(const QString& executableFolder);

    // For an installed program: creates the data folder and, when it holds no
    // cookbook yet, copies the delivered one into it (start-up upgrades it).
    // Returns the empty text, or a Swedish message; nothing is left half done.
    QString prepare() const;
};
