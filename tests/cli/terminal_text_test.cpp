// What the command line writes in place of the windows' boxes and progress bar, how it
// answers the questions without a terminal, and where its connection data comes from.

#include "cli/progress_line.h"
#include "cli/saved_connection.h"
#include "cli/table_selection.h"
#include "cli/text_boxes.h"
#include "base/settings_store.h"
#include "frontend/row_progress.h"
#include "shell/support/qstring_printer.h"
#include "shell/support/temporary_settings.h"

#include <gtest/gtest.h>

#include <limits>

namespace quintabel::cli {
namespace {

TEST(TableSelectionTest, NamesMeanTheExactTableFirstAndNeverGuessBetweenTwo)
{
    const QStringList listed{QStringLiteral("Orders"), QStringLiteral("orders"), QStringLiteral("ITEMS"),
                             QStringLiteral("ITEMS")};
    const TableSelection selection =
        selectTables(listed, {QStringLiteral("orders"), QStringLiteral("items"), QStringLiteral("ORDERS"),
                              QStringLiteral("ITEMS"), QStringLiteral("nothing")});
    EXPECT_EQ(selection.chosen, (QStringList{QStringLiteral("orders"), QStringLiteral("ITEMS")}));
    EXPECT_EQ(selection.notFound, (QStringList{QStringLiteral("ORDERS"), QStringLiteral("nothing")}));
    EXPECT_EQ(everyTable(listed), (QStringList{QStringLiteral("Orders"), QStringLiteral("orders"), QStringLiteral("ITEMS")}));
}

TEST(ProgressLineTest, CountsAreGroupedAndTheRateWaitsForASecond)
{
    EXPECT_EQ(groupedNumber(0), QStringLiteral("0"));
    EXPECT_EQ(groupedNumber(999), QStringLiteral("999"));
    EXPECT_EQ(groupedNumber(1000), QStringLiteral("1,000"));
    EXPECT_EQ(groupedNumber(-1234567), QStringLiteral("-1,234,567"));
    EXPECT_EQ(groupedNumber(std::numeric_limits<std::int64_t>::min()), QStringLiteral("-9,223,372,036,854,775,808"));
    EXPECT_EQ(progressText(QStringLiteral("ORDERS"), 1234, 5000, 999), QStringLiteral("ORDERS: 1,234 of 5,000 rows"));
    EXPECT_EQ(progressText(QStringLiteral("ORDERS"), 1234, 5000, 2000),
              QStringLiteral("ORDERS: 1,234 of 5,000 rows, 617 rows/s"));
}

class TextBoxesTest : public ::testing::Test {
protected:
    TextBoxes boxes(Answer overwrite, Answer trim, bool quiet)
    {
        return TextBoxes({overwrite, trim, QStringLiteral("NEWNAME")}, nullptr, quiet,
                         [this](const QString& text) { written += text; },
                         [this](const QString& text) { reports << text; });
    }

    static BoxRequest question(BoxQuestion kind)
    {
        return {QStringLiteral("Overwrite?"), QStringLiteral("Would you like to overwrite ORDERS?"), BoxIcon::None,
                BoxButtons::YesNo, kind};
    }

    QString written;
    QStringList reports;
};

TEST_F(TextBoxesTest, QuestionsAreAnsweredFromTheirOwnOptionAndOthersNoWithoutATerminal)
{
    TextBoxes answering = boxes(Answer::Yes, Answer::No, false);
    EXPECT_EQ(answering.showBox(question(BoxQuestion::Overwrite)), BoxAnswer::Yes);
    EXPECT_EQ(answering.showBox(question(BoxQuestion::Trim)), BoxAnswer::No);
    // "Ask" with nobody to ask, and a question no option covers, are both No.
    EXPECT_EQ(answering.showBox(question(BoxQuestion::Other)), BoxAnswer::No);
    EXPECT_EQ(boxes(Answer::Ask, Answer::Ask, false).showBox(question(BoxQuestion::Overwrite)), BoxAnswer::No);
    EXPECT_EQ(written, QStringLiteral("Would you like to overwrite ORDERS? yes\nWould you like to overwrite ORDERS? no\n"
                                      "Would you like to overwrite ORDERS? no\nWould you like to overwrite ORDERS? no\n"));
    EXPECT_EQ(answering.inputBox(QStringLiteral("New name?"), QString(), QStringLiteral("OLD")), QStringLiteral("NEWNAME"));
}

TEST_F(TextBoxesTest, QuietSilencesMessagesButNeverErrorReports)
{
    TextBoxes quiet = boxes(Answer::No, Answer::No, true);
    quiet.showBox({QStringLiteral("Quintabel"), QStringLiteral("Done."), BoxIcon::None, BoxButtons::Ok, BoxQuestion::Other});
    quiet.showBox(question(BoxQuestion::Overwrite));
    quiet.showBox({QStringLiteral("Application Error"), QStringLiteral("Duplicate entry\r\nin Form2 at line 354\r\rsql: INSERT"),
                   BoxIcon::Exclamation, BoxButtons::Ok, BoxQuestion::Other});
    EXPECT_EQ(written, QStringLiteral("quintabel-cli: error: Duplicate entry\nin Form2 at line 354\n\nsql: INSERT\n"));
    EXPECT_EQ(reports, QStringList{QStringLiteral("Duplicate entry\r\nin Form2 at line 354\r\rsql: INSERT")});
    EXPECT_EQ(quiet.errorReportsShown(), 1);
}

TEST(PasswordTest, TheEnvironmentWinsThenTheSavedOneThenThePrompt)
{
    int prompts = 0;
    const auto prompt = [&prompts]() -> std::optional<QString> {
        ++prompts;
        return QStringLiteral("typed");
    };
    EXPECT_EQ(choosePassword(QStringLiteral("from-env"), QStringLiteral("saved"), prompt), QStringLiteral("from-env"));
    // Set but empty still means "this run's password is empty": no prompt.
    EXPECT_EQ(choosePassword(QString(), QStringLiteral("saved"), prompt), QString());
    EXPECT_EQ(choosePassword(std::nullopt, QStringLiteral("saved"), prompt), QStringLiteral("saved"));
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(choosePassword(std::nullopt, QString(), prompt), QStringLiteral("typed"));
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(choosePassword(std::nullopt, QString(), [] { return std::optional<QString>(); }), QString());
}

TEST(SavedConnectionTest, OptionsOverrideTheSavedFieldsAndUnsavedOnesTakeTheWindowsDefaults)
{
    testing::TemporarySettings settings;
    SavedConnection fresh = savedConnection({});
    EXPECT_FALSE(fresh.settingsProblem.has_value());
    EXPECT_EQ(fresh.fields.server, QStringLiteral("localhost"));
    EXPECT_EQ(fresh.fields.port, QStringLiteral("3306"));
    EXPECT_EQ(fresh.fields.paradoxFolder, QString());

    writeSetting(QString::fromLatin1(settings_keys::kParadoxFolder), QStringLiteral("/data/paradox"));
    writeSetting(QString::fromLatin1(settings_keys::kServer), QStringLiteral("db.example"));
    writeSetting(QString::fromLatin1(settings_keys::kUser), QStringLiteral("clerk"));
    writeSetting(QString::fromLatin1(settings_keys::kPassword), QStringLiteral("saved-secret"));
    writeSetting(QString::fromLatin1(settings_keys::kDatabase), QStringLiteral("shop"));
    writeSetting(QString::fromLatin1(settings_keys::kParadoxCodePage), QStringLiteral("865"));
    ConnectionOverrides overrides;
    overrides.server = QStringLiteral("other.example");
    overrides.database = QString();
    const SavedConnection saved = savedConnection(overrides);
    EXPECT_EQ(saved.fields.paradoxFolder, QStringLiteral("/data/paradox"));
    EXPECT_EQ(saved.fields.server, QStringLiteral("other.example"));
    EXPECT_EQ(saved.fields.user, QStringLiteral("clerk"));
    EXPECT_EQ(saved.fields.password, QStringLiteral("saved-secret"));
    EXPECT_EQ(saved.fields.database, QString());
    EXPECT_EQ(saved.fields.paradoxCodePage, 865);
}

} // namespace
} // namespace quintabel::cli
