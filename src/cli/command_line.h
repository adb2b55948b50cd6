#pragma once
// The command line of quintabel-cli: which command, which tables, and the options that
// change where it connects, how it answers the transfers' questions and what it writes.
// Reading it checks everything that can be checked without a connection, so that a mistyped
// option never starts half a run.

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace quintabel::cli {

// The exit statuses, so that a script can tell a complete run from a partial one.
inline constexpr int kExitComplete = 0;     // every row of every table arrived
// Some rows were refused, or a table's file held another number of rows than its header
// promised; every table stands.
inline constexpr int kExitRowsRefused = 1;
inline constexpr int kExitTableFailed = 2;  // a table (or a listing, delete or rename) failed
inline constexpr int kExitUsage = 64;       // the command line could not be used (EX_USAGE)

enum class Command { Tables, ToParadox, ToMySql, Delete, Rename };

enum class Side { MySql, Paradox };

// How one kind of question is answered: asked on the terminal, or answered in advance.
enum class Answer { Ask, Yes, No };

struct ConnectionOverrides {
    std::optional<QString> paradoxFolder; // --folder
    std::optional<QString> server;        // --server
    std::optional<QString> port;          // --port
    std::optional<QString> user;          // --user
    std::optional<QString> database;      // --database
    // --code-page: a code page the connection window offers, or kCodePageAsEachTableSays.
    std::optional<int> paradoxCodePage;
};

struct CommandLine {
    Command command = Command::Tables;
    QStringList tables;           // as typed; for rename: the old and the new name
    bool allTables = false;       // --all
    std::optional<Side> side;     // --mysql / --paradox
    ConnectionOverrides overrides;
    std::optional<Answer> overwrite; // --overwrite; unset: ask on a terminal, else no
    std::optional<Answer> trim;      // --trim; the same
    QString typesFile;            // --types; empty when not given
    QString reportFile;           // --report; empty when not given
    bool quiet = false;           // --quiet
};

struct HelpRequested {};

struct UsageError {
    QString message; // one line, without the program name
};

using ParsedCommandLine = std::variant<CommandLine, HelpRequested, UsageError>;

// Reads the arguments after the program name. Options may stand before or after the command
// and its tables; "--" ends the options, so that a table named like an option can be given.
// A value option takes its value after "=" or as the next argument.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

// The text --help prints.
QString usageText();

// The answer a question kind gets in this run: the one given, else "ask" on a terminal and
// "no" without one. "ask" without a terminal is a usage error: no one could answer.
std::variant<Answer, UsageError> resolveAnswer(const std::optional<Answer>& given, bool terminalAvailable,
                                               const QString& optionName);

} // namespace quintabel::cli
