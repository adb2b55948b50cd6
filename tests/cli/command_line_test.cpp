// Reading quintabel-cli's command line: what is accepted, and what is refused before any
// connection is made.

#include "base/paradox_code_page_choice.h"
#include "cli/command_line.h"
#include "shell/support/qstring_printer.h"

#include <gtest/gtest.h>

namespace quintabel::cli {
namespace {

CommandLine accepted(const QStringList& arguments)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (const auto* problem = std::get_if<UsageError>(&parsed))
        ADD_FAILURE() << "refused: " << problem->message.toStdString();
    EXPECT_TRUE(std::holds_alternative<CommandLine>(parsed));
    return std::holds_alternative<CommandLine>(parsed) ? std::get<CommandLine>(parsed) : CommandLine{};
}

QString refusal(const QStringList& arguments)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    const auto* problem = std::get_if<UsageError>(&parsed);
    EXPECT_NE(problem, nullptr) << "accepted: " << arguments.join(QLatin1Char(' ')).toStdString();
    return problem != nullptr ? problem->message : QString();
}

TEST(CommandLineTest, PasswordIsRefusedInEveryFormAndSaysWhereItMayComeFrom)
{
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("tables"), QStringLiteral("--password"), QStringLiteral("secret")},
          QStringList{QStringLiteral("--password=secret"), QStringLiteral("to-mysql"), QStringLiteral("--all")},
          QStringList{QStringLiteral("to-paradox"), QStringLiteral("ORDERS"), QStringLiteral("--password")}}) {
        const QString message = refusal(arguments);
        EXPECT_TRUE(message.startsWith(QLatin1String("--password is not accepted"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String("QUINTABEL_PASSWORD"))) << message.toStdString();
    }
}

TEST(CommandLineTest, AfterDoubleDashEveryArgumentIsATableName)
{
    const CommandLine line =
        accepted({QStringLiteral("to-mysql"), QStringLiteral("--"), QStringLiteral("--password"), QStringLiteral("-x")});
    EXPECT_EQ(line.tables, (QStringList{QStringLiteral("--password"), QStringLiteral("-x")}));
}

TEST(CommandLineTest, OptionsStandAnywhereAndTakeValuesEitherWay)
{
    const CommandLine line = accepted({QStringLiteral("--server"), QStringLiteral("db.example"), QStringLiteral("to-paradox"),
                                       QStringLiteral("ORDERS"), QStringLiteral("--port=3307"), QStringLiteral("ITEMS"),
                                       QStringLiteral("--overwrite=YES"), QStringLiteral("--trim"), QStringLiteral("no"),
                                       QStringLiteral("--folder="), QStringLiteral("--quiet"),
                                       QStringLiteral("--code-page"), QStringLiteral("866")});
    EXPECT_EQ(line.command, Command::ToParadox);
    EXPECT_EQ(line.tables, (QStringList{QStringLiteral("ORDERS"), QStringLiteral("ITEMS")}));
    EXPECT_EQ(line.overrides.server, QStringLiteral("db.example"));
    EXPECT_EQ(line.overrides.port, QStringLiteral("3307"));
    // An empty value is a value: the folder is overridden with nothing, not left as saved.
    EXPECT_EQ(line.overrides.paradoxFolder, QString());
    EXPECT_FALSE(line.overrides.user.has_value());
    EXPECT_EQ(line.overwrite, Answer::Yes);
    EXPECT_EQ(line.trim, Answer::No);
    EXPECT_TRUE(line.quiet);
    EXPECT_EQ(line.overrides.paradoxCodePage, 866);
    EXPECT_EQ(accepted({QStringLiteral("tables"), QStringLiteral("--code-page=table")}).overrides.paradoxCodePage,
              kCodePageAsEachTableSays);
}

TEST(CommandLineTest, MistakesInOptionsAreRefused)
{
    EXPECT_EQ(refusal({QStringLiteral("tables"), QStringLiteral("--verbose")}), QStringLiteral("unknown option '--verbose'"));
    EXPECT_EQ(refusal({QStringLiteral("tables"), QStringLiteral("-q")}), QStringLiteral("unknown option '-q'"));
    EXPECT_EQ(refusal({QStringLiteral("tables"), QStringLiteral("--server")}), QStringLiteral("--server needs a value"));
    EXPECT_EQ(refusal({QStringLiteral("tables"), QStringLiteral("--quiet=1")}), QStringLiteral("--quiet takes no value"));
    EXPECT_EQ(refusal({QStringLiteral("to-mysql"), QStringLiteral("--all"), QStringLiteral("--overwrite=maybe")}),
              QStringLiteral("--overwrite takes ask, yes or no, not 'maybe'"));
    EXPECT_EQ(refusal({QStringLiteral("tables"), QStringLiteral("--user=a"), QStringLiteral("--user=b")}),
              QStringLiteral("--user is given more than once"));
    EXPECT_EQ(refusal({QStringLiteral("to-mysql"), QStringLiteral("--all"), QStringLiteral("--report=")}),
              QStringLiteral("--report needs a file name"));
    EXPECT_TRUE(refusal({QStringLiteral("tables"), QStringLiteral("--code-page=0")})
                    .startsWith(QLatin1String("--code-page takes 'table' or a code page the connection window offers")));
    EXPECT_EQ(refusal({QStringLiteral("delete"), QStringLiteral("--mysql"), QStringLiteral("--paradox"), QStringLiteral("T")}),
              QStringLiteral("give either --mysql or --paradox, not both"));
}

TEST(CommandLineTest, EachCommandGetsWhatItNeedsAndNothingItWouldIgnore)
{
    EXPECT_TRUE(refusal({}).startsWith(QLatin1String("no command given")));
    EXPECT_TRUE(refusal({QStringLiteral("copy")}).startsWith(QLatin1String("unknown command 'copy'")));
    EXPECT_EQ(refusal({QStringLiteral("tables"), QStringLiteral("ORDERS")}), QStringLiteral("tables takes no table names"));
    EXPECT_EQ(refusal({QStringLiteral("to-mysql")}), QStringLiteral("to-mysql needs table names, or --all"));
    EXPECT_EQ(refusal({QStringLiteral("to-mysql"), QStringLiteral("--all"), QStringLiteral("ORDERS")}),
              QStringLiteral("give table names or --all, not both"));
    EXPECT_TRUE(refusal({QStringLiteral("to-mysql"), QStringLiteral("--trim=yes"), QStringLiteral("ORDERS")})
                    .startsWith(QLatin1String("--trim applies to to-paradox only")));
    EXPECT_TRUE(refusal({QStringLiteral("to-paradox"), QStringLiteral("--mysql"), QStringLiteral("ORDERS")})
                    .startsWith(QLatin1String("to-paradox takes no --mysql or --paradox")));
    EXPECT_EQ(refusal({QStringLiteral("delete"), QStringLiteral("ORDERS")}), QStringLiteral("delete needs --mysql or --paradox"));
    EXPECT_EQ(refusal({QStringLiteral("delete"), QStringLiteral("--paradox")}), QStringLiteral("delete needs table names"));
    // Deleting everything is never one word away.
    EXPECT_EQ(refusal({QStringLiteral("delete"), QStringLiteral("--paradox"), QStringLiteral("--all")}),
              QStringLiteral("--all applies to to-paradox and to-mysql only"));
    EXPECT_EQ(refusal({QStringLiteral("rename"), QStringLiteral("--mysql"), QStringLiteral("OLD")}),
              QStringLiteral("rename takes two names: the table's and its new one"));
    EXPECT_EQ(refusal({QStringLiteral("rename"), QStringLiteral("--mysql"), QStringLiteral("OLD"), QString()}),
              QStringLiteral("rename needs a new name that is not empty"));
    EXPECT_EQ(refusal({QStringLiteral("rename"), QStringLiteral("--paradox"), QStringLiteral("A"), QStringLiteral("B"),
                       QStringLiteral("--report=r.json")}),
              QStringLiteral("--report applies to to-paradox and to-mysql only"));

    const CommandLine rename =
        accepted({QStringLiteral("rename"), QStringLiteral("--paradox"), QStringLiteral("OLD"), QStringLiteral("NEW")});
    EXPECT_EQ(rename.side, Side::Paradox);
    EXPECT_EQ(rename.tables, (QStringList{QStringLiteral("OLD"), QStringLiteral("NEW")}));
}

TEST(CommandLineTest, HelpWinsOverEveryOtherMistake)
{
    EXPECT_TRUE(std::holds_alternative<HelpRequested>(parseCommandLine({QStringLiteral("copy"), QStringLiteral("--help")})));
    EXPECT_TRUE(std::holds_alternative<HelpRequested>(parseCommandLine({QStringLiteral("-h")})));
    // After "--" it is a table name like any other.
    EXPECT_TRUE(std::holds_alternative<CommandLine>(
        parseCommandLine({QStringLiteral("to-mysql"), QStringLiteral("--"), QStringLiteral("--help")})));
    EXPECT_TRUE(usageText().contains(QLatin1String("--overwrite=ask|yes|no")));
}

TEST(CommandLineTest, UnansweredQuestionsAreAskedOnATerminalAndAnsweredNoWithoutOne)
{
    EXPECT_EQ(std::get<Answer>(resolveAnswer(std::nullopt, true, QStringLiteral("overwrite"))), Answer::Ask);
    EXPECT_EQ(std::get<Answer>(resolveAnswer(std::nullopt, false, QStringLiteral("overwrite"))), Answer::No);
    EXPECT_EQ(std::get<Answer>(resolveAnswer(Answer::Yes, false, QStringLiteral("overwrite"))), Answer::Yes);
    EXPECT_EQ(std::get<Answer>(resolveAnswer(Answer::Ask, true, QStringLiteral("trim"))), Answer::Ask);
    const auto withoutTerminal = resolveAnswer(Answer::Ask, false, QStringLiteral("trim"));
    ASSERT_TRUE(std::holds_alternative<UsageError>(withoutTerminal));
    EXPECT_EQ(std::get<UsageError>(withoutTerminal).message,
              QStringLiteral("--trim=ask needs a terminal to ask on; give --trim=yes or --trim=no"));
}

} // namespace
} // namespace quintabel::cli
