#include "fsutil/file_search.h"

#include "shell/support/qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace quintabel {
namespace {

class FileSearchTest : public ::testing::Test {
protected:
    void touch(const QString& name)
    {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }

    QTemporaryDir folder;
};

TEST_F(FileSearchTest, MatchesWithoutRegardToCaseAndOnlyWholeExtensions)
{
    for (const char* name : {"ORDERS.DB", "orders.mb", "Sales.Db", "x.dbf", "notes.db.txt", ".hidden.db", "db"})
        touch(QString::fromLatin1(name));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.db")));
    ASSERT_EQ(::symlink("nowhere.db", QFile::encodeName(folder.filePath(QStringLiteral("dangling.db"))).constData()), 0);

    EXPECT_EQ(FindFiles(folder.path(), QStringLiteral("*.db")),
              (QStringList{QStringLiteral(".hidden.db"), QStringLiteral("ORDERS.DB"), QStringLiteral("Sales.Db")}));
}

TEST_F(FileSearchTest, FolderWithOrWithoutFinalSeparatorGivesTheSameNames)
{
    touch(QStringLiteral("A.DB"));
    touch(QStringLiteral("B.DB"));
    EXPECT_EQ(FindFiles(folder.path(), QStringLiteral("*.DB")), FindFiles(folder.path() + QLatin1Char('/'), QStringLiteral("*.DB")));
    EXPECT_EQ(FindFiles(folder.path(), QStringLiteral("*.DB")).size(), 2);
}

TEST_F(FileSearchTest, NoMatchesAndMissingFoldersGiveNoNames)
{
    touch(QStringLiteral("readme.txt"));
    EXPECT_TRUE(FindFiles(folder.path(), QStringLiteral("*.db")).isEmpty());
    EXPECT_TRUE(FindFiles(folder.filePath(QStringLiteral("missing")), QStringLiteral("*.db")).isEmpty());
    EXPECT_TRUE(FindFiles(folder.filePath(QStringLiteral("readme.txt")), QStringLiteral("*")).isEmpty());
}

TEST_F(FileSearchTest, ManyMatchesAreAllReturnedInNameOrder)
{
    for (int count : {100, 101, 150, 151}) {
        QTemporaryDir many;
        for (int i = 1; i <= count; ++i) {
            QFile file(many.filePath(QStringLiteral("T%1.db").arg(i, 3, 10, QLatin1Char('0'))));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const QStringList names = FindFiles(many.path(), QStringLiteral("*.DB"));
        ASSERT_EQ(names.size(), count);
        EXPECT_EQ(names.front(), QStringLiteral("T001.db"));
        EXPECT_EQ(names.back(), QStringLiteral("T%1.db").arg(count, 3, 10, QLatin1Char('0')));
    }
}

TEST_F(FileSearchTest, NamesThatAreNotUtf8AreLeftOut)
{
    touch(QStringLiteral("GOOD.DB"));
    const QByteArray latin1 = QFile::encodeName(folder.path()) + QByteArray("/B\xC4R.DB");
    FILE* raw = std::fopen(latin1.constData(), "w");
    ASSERT_NE(raw, nullptr);
    std::fclose(raw);
    EXPECT_EQ(FindFiles(folder.path(), QStringLiteral("*.db")), QStringList{QStringLiteral("GOOD.DB")});
}

TEST(WildcardMatches, StarAndQuestionMarkLetterCaseIgnored)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.db", "orders.DB", true},   {"*.db", "x.dbf", false},   {"*.db", ".db", true},
        {"*.db", "a.db.bak", false},   {"*.db", "a.b.db", true},   {"?.db", "a.db", true},
        {"?.db", "ab.db", false},      {"*", "", true},            {"", "", true},
        {"", "a", false},              {"a*b*c", "aXbYbZc", true}, {"a*b*c", "aXbYbZ", false},
        {"**.DB", "x.db", true},       {"T??.*", "t12.mb", true},  {"\u00C9*", "\u00E9t\u00E9", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatches(QString::fromUtf8(c.pattern), QString::fromUtf8(c.name)), c.matches)
            << c.pattern << " ~ " << c.name;
}

} // namespace
} // namespace quintabel
