#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the program was started with: the files a desktop hands over when the
// user opens them with the program (fridge lists and recipe files).
namespace CommandLine {

enum class FileKind { Fridge, Recipe };

struct GivenFile {
    FileKind kind;
    // Absolute.
    QString path;
    bool operator==(const GivenFile&) const = default;
};

struct Request {
    // In the order given.
    QList<GivenFile> files;
    // Names of a kind the program does not open, as given.
    QStringList unknownFiles;
    // The first option the program does not know; the run stops there.
    QString badOption;
    bool operator==(const Request&) const = default;
};

// A run without a window, asked for by the first argument.
enum class Task { None, Import, Export, Help };

struct TaskRequest {
    Task task = Task::None;
    // Absolute: the files to import, or the one file to export to.
    QStringList files;
    // --category NAME; empty when not given.
    QString category;
    // Empty, or a Swedish sentence on what is wrong with the arguments.
    QString error;
    // How the user called the program, for the texts that show a command:
    // "krox-gastrid" when installed, "gastrid" in a program folder.
    QString command = QStringLiteral("gastrid");
};

// "--import FILE... [--category NAME]", "--export FILE.zip|FILE.rcp
// [--category NAME]" or "--help"; Task::None when the first argument is
// none of them.
TaskRequest parseTask(const QStringList& arguments, const QString& currentFolder);

// What "--help" prints.
QString helpText(const QString& command);

// `arguments` without the program's own name. A relative name is taken from
// `currentFolder`; "--" ends the options, so a file may start with "-".
Request parse(const QStringList& arguments, const QString& currentFolder);

// The user's message for files the program cannot open; empty when none.
QString unknownFilesMessage(const QStringList& names);

// A request as a copy of the program hands it to the copy that already runs
// with the same cookbook: one line per file, its kind first, ending in an
// empty line.
QByteArray handOverMessage(const Request& request);
// The request in such a message; none when the message is not one whole,
// well-formed message of the program (a file's name must be absolute, clean
// and fit its kind).
std::optional<Request> takeOverMessage(const QByteArray& message);

} // namespace CommandLine
