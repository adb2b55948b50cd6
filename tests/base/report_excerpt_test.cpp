// Statements and values cut to a length a box can show: counted in characters, never cut
// inside one, and the error report built from a statement of many megabytes.

#include "base/report_excerpt.h"
#include "base/error_report.h"

#include <gtest/gtest.h>

#include <QString>

#include <stdexcept>
#include <string>

namespace quintabel {
namespace {

std::string repeated(const std::string& piece, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::string ellipsis = "\xE2\x80\xA6";

struct ExcerptCase {
    const char* what;
    std::string text;
    std::size_t kept;
    std::string expected;
};

TEST(ReportExcerpt, CountsCharactersNotBytesAndNeverCutsOneInTwo)
{
    const std::string u = "\xC3\xBC";             // ü: two bytes
    const std::string clef = "\xF0\x9D\x84\x9E";  // 𝄞: four bytes, a surrogate pair in UTF-16
    const ExcerptCase cases[] = {
        {"at the limit, whole", std::string(1000, 'a'), 1000, std::string(1000, 'a')},
        {"one over", std::string(1001, 'a'), 1000, std::string(1000, 'a') + ellipsis + " (1 more characters)"},
        {"more bytes than the limit, but not more characters", repeated(u, 1000), 1000, repeated(u, 1000)},
        {"two-byte characters", repeated(u, 1500), 1000, repeated(u, 1000) + ellipsis + " (500 more characters)"},
        {"four-byte characters", repeated(clef, 7), 5, repeated(clef, 5) + ellipsis + " (2 more characters)"},
        {"mixed, the cut right after a long one", "ab" + clef + "cd" + clef, 3,
         "ab" + clef + ellipsis + " (3 more characters)"},
        {"stray bytes count one each", std::string(3, '\xFF') + "xyz", 4, std::string(3, '\xFF') + "x" + ellipsis + " (2 more characters)"},
        {"a sequence cut short at the end", "abc\xE2\x80", 3, "abc" + ellipsis + " (1 more characters)"},
        {"empty", "", 1000, ""},
    };
    for (const ExcerptCase& excerptCase : cases)
        EXPECT_EQ(reportExcerpt(excerptCase.text, excerptCase.kept), excerptCase.expected) << excerptCase.what;
}

TEST(ReportExcerpt, AReportOfAStatementOfMegabytesNamesItsStartAndWhatWasLeftOut)
{
    const QString prefix = QStringLiteral("INSERT INTO `notes` VALUES('1','");
    // A surrogate pair sits across the 1,000th character: it is kept whole.
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");
    const qsizetype memoCharacters = 16 * 1024 * 1024;
    QString statement = prefix + QString(999 - prefix.size(), QLatin1Char('m')) + clef;
    statement += QString(memoCharacters - statement.size() + prefix.size(), QLatin1Char('m')) + QStringLiteral("')");
    const qsizetype statementCharacters = statement.size() - 1; // the pair is one character
    const QString description = QStringLiteral("Data too long for column 'note' at row 1 ") + QString(5000, QLatin1Char('d'));

    const QString report = buildErrorReport(description, QStringLiteral("in Tabulex2021/08/31.Form2.PushButton4_Click "),
                                            338, statement);

    const QString sql = report.mid(report.lastIndexOf(QStringLiteral("\r\rsql: ")) + 7);
    EXPECT_TRUE(sql.startsWith(prefix + QStringLiteral("mmm")));
    EXPECT_EQ(sql.mid(999, 2), clef);
    EXPECT_EQ(sql.mid(1001), QStringLiteral("\u2026 (%1 more characters)").arg(statementCharacters - 1000));
    EXPECT_TRUE(report.startsWith(QStringLiteral("Data too long for column 'note' at row 1 ddd")));
    EXPECT_TRUE(report.contains(QStringLiteral("d\u2026 (%1 more characters)\r\nin Tabulex2021/08/31.Form2.PushButton4_Click at line 338")
                                    .arg(description.size() - 1000)));
    EXPECT_LT(report.size(), 2300);
}

TEST(ReportExcerpt, AShortReportIsLeftExactlyAsItWas)
{
    const QString statement = QStringLiteral("INSERT INTO `t` VALUES('\u00FC\U0001D11E')") + QString(950, QLatin1Char(' '));
    EXPECT_EQ(boxExcerpt(statement), statement);
    EXPECT_TRUE(buildErrorReport(QStringLiteral("Refused"), QString(), 1, statement).endsWith(QStringLiteral("sql: ") + statement));
}

TEST(ReportExcerpt, AValueQuotedInASentenceShowsItsNulCharactersAndKeepsTheSentenceWhole)
{
    // A Bytes value read back as text: NULs between the digits and as padding behind them.
    const std::string value = std::string("1\0" "2\0" "3", 5) + std::string(250, '\0');
    const std::string sentence = "the value '" + valuePreview(value) + "' in row 1 cannot be held.";

    // Everything survives a trip through what(), the C string every message travels as.
    EXPECT_EQ(std::string(std::runtime_error(sentence).what()), sentence);
    EXPECT_EQ(sentence.rfind("the value '1\xE2\x90\x80" "2\xE2\x90\x80" "3\xE2\x90\x80", 0), 0u);
    EXPECT_NE(sentence.find("\xE2\x80\xA6 (215 more characters)' in row 1 cannot be held."), std::string::npos);
    EXPECT_EQ(valuePreview("plain"), "plain");
}

} // namespace
} // namespace quintabel
