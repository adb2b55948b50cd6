#include "cli/command_line.h"

#include "base/paradox_code_page_choice.h"

#include <array>
#include <utility>

namespace quintabel::cli {

namespace {

struct CommandName {
    const char* text;
    Command command;
};

constexpr std::array<CommandName, 5> kCommands{{
    {"tables", Command::Tables},
    {"to-paradox", Command::ToParadox},
    {"to-mysql", Command::ToMySql},
    {"delete", Command::Delete},
    {"rename", Command::Rename},
}};

// A password typed on the command line stays in the shell's history and is readable by every
// user of the machine while the program runs (ps, /proc), so it is refused outright, with
// the ways that keep it private.
const QString kPasswordRefused = QStringLiteral(
    "--password is not accepted: a password on the command line can be read by other users of this "
    "machine and stays in the shell's history. Set QUINTABEL_PASSWORD, save it in the connection "
    "window, or type it when asked.");

UsageError usage(const QString& message)
{
    return UsageError{message};
}

// The word --code-page takes for the connection window's "As each table says".
constexpr char kEachTablesCodePage[] = "table";

// The code page that `text` names: one the connection window offers, or its "As each table
// says" by kEachTablesCodePage; nothing for anything else.
std::optional<int> codePageOf(const QString& text)
{
    if (text == QLatin1String(kEachTablesCodePage))
        return kCodePageAsEachTableSays;
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber || number == kCodePageAsEachTableSays)
        return std::nullopt;
    for (const CodePageChoice& choice : paradoxCodePageChoices()) {
        if (choice.number == number)
            return number;
    }
    return std::nullopt;
}

QString offeredCodePages()
{
    QStringList numbers;
    for (const CodePageChoice& choice : paradoxCodePageChoices()) {
        if (choice.number != kCodePageAsEachTableSays)
            numbers << QString::number(choice.number);
    }
    return numbers.join(QStringLiteral(", "));
}

std::optional<Answer> answerOf(const QString& text)
{
    const QString lower = text.toLower();
    if (lower == QLatin1String("ask"))
        return Answer::Ask;
    if (lower == QLatin1String("yes"))
        return Answer::Yes;
    if (lower == QLatin1String("no"))
        return Answer::No;
    return std::nullopt;
}

bool isValueOption(const QString& name)
{
    static const QStringList names{QStringLiteral("folder"),   QStringLiteral("server"),
                                   QStringLiteral("port"),     QStringLiteral("user"),
                                   QStringLiteral("database"), QStringLiteral("overwrite"),
                                   QStringLiteral("trim"),     QStringLiteral("types"),
                                   QStringLiteral("report"),   QStringLiteral("code-page")};
    return names.contains(name);
}

bool isFlag(const QString& name)
{
    static const QStringList names{QStringLiteral("all"), QStringLiteral("mysql"), QStringLiteral("paradox"),
                                   QStringLiteral("quiet")};
    return names.contains(name);
}

class Reader {
public:
    explicit Reader(const QStringList& arguments) : arguments_(arguments) {}

    ParsedCommandLine read();

private:
    // Takes the option at `index` (and its value), advancing `index` past what it used.
    std::optional<UsageError> takeOption(qsizetype& index);
    std::optional<UsageError> setValue(const QString& name, const QString& value);
    std::optional<UsageError> setFlag(const QString& name);
    std::optional<UsageError> checkCommand() const;

    const QStringList& arguments_;
    CommandLine line_;
    std::optional<QString> commandWord_;
    bool sideGiven_ = false;
    QStringList optionsGiven_;
};

ParsedCommandLine Reader::read()
{
    // Help wins over every mistake, so that a user who is lost can always get the usage.
    for (const QString& argument : arguments_) {
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return HelpRequested{};
    }
    bool optionsEnded = false;
    for (qsizetype index = 0; index < arguments_.size(); ++index) {
        const QString& argument = arguments_[index];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (auto error = takeOption(index))
                return *error;
            continue;
        }
        if (!commandWord_)
            commandWord_ = argument;
        else
            line_.tables << argument;
    }
    if (!commandWord_)
        return usage(QStringLiteral("no command given (tables, to-paradox, to-mysql, delete or rename)"));
    bool known = false;
    for (const CommandName& command : kCommands) {
        if (*commandWord_ == QLatin1String(command.text)) {
            line_.command = command.command;
            known = true;
        }
    }
    if (!known)
        return usage(QStringLiteral("unknown command '%1' (tables, to-paradox, to-mysql, delete or rename)")
                         .arg(*commandWord_));
    if (auto error = checkCommand())
        return *error;
    return line_;
}

std::optional<UsageError> Reader::takeOption(qsizetype& index)
{
    const QString& argument = arguments_[index];
    if (!argument.startsWith(QLatin1String("--")))
        return usage(QStringLiteral("unknown option '%1'").arg(argument));
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
    if (name == QLatin1String("password"))
        return usage(kPasswordRefused);
    if (optionsGiven_.contains(name))
        return usage(QStringLiteral("--%1 is given more than once").arg(name));
    optionsGiven_ << name;
    if (isFlag(name)) {
        if (equals >= 0)
            return usage(QStringLiteral("--%1 takes no value").arg(name));
        return setFlag(name);
    }
    if (!isValueOption(name))
        return usage(QStringLiteral("unknown option '--%1'").arg(name));
    if (equals >= 0)
        return setValue(name, argument.mid(equals + 1));
    if (index + 1 >= arguments_.size())
        return usage(QStringLiteral("--%1 needs a value").arg(name));
    ++index;
    return setValue(name, arguments_[index]);
}

std::optional<UsageError> Reader::setValue(const QString& name, const QString& value)
{
    if (name == QLatin1String("overwrite") || name == QLatin1String("trim")) {
        const std::optional<Answer> answer = answerOf(value);
        if (!answer)
            return usage(QStringLiteral("--%1 takes ask, yes or no, not '%2'").arg(name, value));
        (name == QLatin1String("overwrite") ? line_.overwrite : line_.trim) = answer;
        return std::nullopt;
    }
    if (name == QLatin1String("code-page")) {
        line_.overrides.paradoxCodePage = codePageOf(value);
        if (!line_.overrides.paradoxCodePage)
            return usage(QStringLiteral("--code-page takes '%1' or a code page the connection window offers (%2), not '%3'")
                             .arg(QLatin1String(kEachTablesCodePage), offeredCodePages(), value));
        return std::nullopt;
    }
    if ((name == QLatin1String("types") || name == QLatin1String("report")) && value.isEmpty())
        return usage(QStringLiteral("--%1 needs a file name").arg(name));
    if (name == QLatin1String("folder"))
        line_.overrides.paradoxFolder = value;
    else if (name == QLatin1String("server"))
        line_.overrides.server = value;
    else if (name == QLatin1String("port"))
        line_.overrides.port = value;
    else if (name == QLatin1String("user"))
        line_.overrides.user = value;
    else if (name == QLatin1String("database"))
        line_.overrides.database = value;
    else if (name == QLatin1String("types"))
        line_.typesFile = value;
    else if (name == QLatin1String("report"))
        line_.reportFile = value;
    return std::nullopt;
}

std::optional<UsageError> Reader::setFlag(const QString& name)
{
    if (name == QLatin1String("all")) {
        line_.allTables = true;
    } else if (name == QLatin1String("quiet")) {
        line_.quiet = true;
    } else {
        if (sideGiven_)
            return usage(QStringLiteral("give either --mysql or --paradox, not both"));
        sideGiven_ = true;
        line_.side = name == QLatin1String("mysql") ? Side::MySql : Side::Paradox;
    }
    return std::nullopt;
}

std::optional<UsageError> Reader::checkCommand() const
{
    const QString command = *commandWord_;
    const bool transfer = line_.command == Command::ToParadox || line_.command == Command::ToMySql;
    // Options that only a transfer reads would otherwise be ignored without a word.
    if (!transfer) {
        for (const char* option : {"all", "overwrite", "trim", "types", "report"}) {
            if (optionsGiven_.contains(QLatin1String(option)))
                return usage(QStringLiteral("--%1 applies to to-paradox and to-mysql only").arg(QLatin1String(option)));
        }
    }
    switch (line_.command) {
    case Command::Tables:
        if (!line_.tables.isEmpty())
            return usage(QStringLiteral("tables takes no table names"));
        return std::nullopt;
    case Command::ToParadox:
    case Command::ToMySql:
        if (line_.side)
            return usage(
                QStringLiteral("%1 takes no --mysql or --paradox: its direction says which side").arg(command));
        if (line_.command == Command::ToMySql && line_.trim)
            return usage(QStringLiteral("--trim applies to to-paradox only: MySQL table names are never cut"));
        if (line_.allTables && !line_.tables.isEmpty())
            return usage(QStringLiteral("give table names or --all, not both"));
        if (!line_.allTables && line_.tables.isEmpty())
            return usage(QStringLiteral("%1 needs table names, or --all").arg(command));
        return std::nullopt;
    case Command::Delete:
        if (!line_.side)
            return usage(QStringLiteral("delete needs --mysql or --paradox"));
        if (line_.tables.isEmpty())
            return usage(QStringLiteral("delete needs table names"));
        return std::nullopt;
    case Command::Rename:
        if (!line_.side)
            return usage(QStringLiteral("rename needs --mysql or --paradox"));
        if (line_.tables.size() != 2)
            return usage(QStringLiteral("rename takes two names: the table's and its new one"));
        if (line_.tables[1].isEmpty())
            return usage(QStringLiteral("rename needs a new name that is not empty"));
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    return Reader(arguments).read();
}

std::variant<Answer, UsageError> resolveAnswer(const std::optional<Answer>& given, bool terminalAvailable,
                                               const QString& optionName)
{
    if (!given)
        return terminalAvailable ? Answer::Ask : Answer::No;
    if (*given == Answer::Ask && !terminalAvailable)
        return usage(QStringLiteral("--%1=ask needs a terminal to ask on; give --%1=yes or --%1=no").arg(optionName));
    return *given;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: quintabel-cli [OPTIONS] COMMAND [TABLE...]\n"
        "\n"
        "Copies whole tables between a MySQL or MariaDB database and a folder of Paradox\n"
        "tables, as the Quintabel windows do.\n"
        "\n"
        "Commands:\n"
        "  tables [--mysql|--paradox]        list the tables of both sides (or of one)\n"
        "  to-paradox TABLE...|--all         send MySQL tables to the Paradox folder\n"
        "  to-mysql TABLE...|--all           send Paradox tables to the MySQL database\n"
        "  delete --mysql|--paradox TABLE... delete tables\n"
        "  rename --mysql|--paradox OLD NEW  rename a table\n"
        "\n"
        "Connection (each defaults to what the connection window saved):\n"
        "  --folder DIR         the Paradox folder\n"
        "  --server HOST        the MySQL server\n"
        "  --port N             its port\n"
        "  --user NAME          the MySQL user\n"
        "  --database NAME      the MySQL database\n"
        "  --code-page N|table  read Paradox tables in code page N (and write new ones in it), or\n"
        "                       in the one each table's header names\n"
        "  The password is never an option: it comes from QUINTABEL_PASSWORD, else from the\n"
        "  saved settings, else from a prompt on the terminal.\n"
        "\n"
        "Transfers:\n"
        "  --all                send every table of the source side\n"
        "  --overwrite=ask|yes|no  replace a table the target already has (default: ask on a\n"
        "                       terminal, no without one)\n"
        "  --trim=ask|yes|no    cut a name longer than 8 characters for Paradox (the same default)\n"
        "  --types FILE         column types to use, as JSON: {\"TABLE\": {\"FIELD\": \"TYPE\"}}\n"
        "  --report FILE        write what became of every table and refused row, as JSON\n"
        "\n"
        "Output:\n"
        "  --quiet              no progress and no messages; errors still go to standard error\n"
        "  --help               show this text\n"
        "\n"
        "Exit status: 0 every row arrived, 1 some rows were refused (or a Paradox file held\n"
        "other rows than its header says), 2 a table failed, 64 the command line could not be used.\n");
}

} // namespace quintabel::cli
