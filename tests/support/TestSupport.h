#pragma once

#include "ui/app/AppContext.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/Program.h"

#include <QTemporaryDir>
#include <QTest>

// A program folder in a temporary directory, with a cookbook in it.
class TempProgram {
public:
    TempProgram();
    QString folder() const { return m_dir.path(); }
    QString dbPath() const { return m_dir.filePath(QStringLiteral("dbRcp.mdb")); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // The cookbook the program is delivered with.
    bool installDelivered();
    // A plain cookbook from SQL text (with the three recipe tables unless
    // `bare`), optionally already upgraded (settings tables, encrypted).
    bool makeCookbook(const QString& sql, bool upgraded = true);

    // Starts the real program in this folder with scripted prompts.
    std::unique_ptr<Program> start(bool show = true);
    Prompts prompts;

private:
    QTemporaryDir m_dir;
};

// The recipe tables every test cookbook has.
extern const char* const RecipeSchema;

QByteArray fileBytes(const QString& path);
// The same, but a file that is not there does not pass for an empty one.
QByteArray bytesOf(const QString& path);
void put(const QString& path, const QByteArray& bytes);
// A picture file's first bytes, then `size` bytes in all, the same for a seed.
QByteArray picture(const char* head, int size, quint32 seed);
// Runs the sqlcipher command line on a file; returns its exit code and output.
int runSqlcipher(const QString& path, const QString& script, QString* output);
// Reads one value through a separate connection (the program must not hold the file).
QVariant queryValue(const QString& dbPath, const char* sql, const QVariantList& values = {});

// Finds a widget of the main window by its name; fails the test when missing.
template <typename T> T* widget(QWidget* top, const QString& name)
{
    T* w = top->findChild<T*>(name);
    if (!w)
        qWarning("no widget %s", qPrintable(name));
    return w;
}
