#include "fsutil/folder_walk.h"

#include "fsutil/file_system_error.h"
#include "fsutil/unusual_characters.h"
#include "shell/support/scripted_message_boxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace quintabel {
namespace {

class FolderWalkTest : public ::testing::Test {
protected:
    QString root() const { return folder.path() + QLatin1Char('/'); }

    void makeFolders(const QStringList& relativePaths)
    {
        for (const QString& relative : relativePaths)
            ASSERT_TRUE(QDir().mkpath(root() + relative)) << relative.toStdString();
    }

    // The walk's result with the temporary folder's path taken off each entry.
    QStringList walk(bool recurse = true, const SubfolderLister& lister = listSubfoldersOnDisk)
    {
        QStringList folders{root()};
        GetSubDirectories2016(folders, recurse, lister);
        QStringList relative;
        for (const QString& entry : folders)
            relative.append(entry.mid(root().size()));
        return relative;
    }

    testing::ScriptedBoxesInstalled installed;
    QTemporaryDir folder;
};

TEST_F(FolderWalkTest, FolderWithoutSubfoldersKeepsItsOneEntry)
{
    QFile(root() + QStringLiteral("ORDERS.DB")).open(QIODevice::WriteOnly);
    EXPECT_EQ(walk(), QStringList{QString()});
}

TEST_F(FolderWalkTest, WalksBreadthFirstInNameOrder)
{
    makeFolders({QStringLiteral("b/b1"), QStringLiteral("A/a2/deep"), QStringLiteral("A/a1"),
                 QStringLiteral(".hidden")});
    const QStringList expected = {QString(), QStringLiteral(".hidden/"), QStringLiteral("A/"), QStringLiteral("b/"),
                                  QStringLiteral("A/a1/"), QStringLiteral("A/a2/"), QStringLiteral("b/b1/"),
                                  QStringLiteral("A/a2/deep/")};
    EXPECT_EQ(walk(), expected);
    EXPECT_EQ(walk(false), (QStringList{QString(), QStringLiteral(".hidden/"), QStringLiteral("A/"), QStringLiteral("b/")}));
    EXPECT_TRUE(installed.boxes.shown().empty());
}

TEST_F(FolderWalkTest, UnusualNamesArePassedOverWithTheirSubtrees)
{
    makeFolders({QStringLiteral("plain/inner"), QStringLiteral("tab\there/inner"), QStringLiteral("what?/inner"),
                 QStringLiteral("c1\u0085name/inner"), QStringLiteral("caf\u00E9")});
    const QByteArray notUtf8 = QFile::encodeName(root()) + QByteArray("latin1-\xE9");
    ASSERT_EQ(::mkdir(notUtf8.constData(), 0755), 0);

    EXPECT_EQ(walk(), (QStringList{QString(), QStringLiteral("caf\u00E9/"), QStringLiteral("plain/"),
                                   QStringLiteral("plain/inner/")}));
}

TEST_F(FolderWalkTest, LinkedFoldersAreNotWalkedSoALinkLoopEnds)
{
    makeFolders({QStringLiteral("a/b")});
    ASSERT_EQ(::symlink("..", QFile::encodeName(root() + QStringLiteral("a/b/up")).constData()), 0);
    ASSERT_EQ(::symlink("a", QFile::encodeName(root() + QStringLiteral("alias")).constData()), 0);
    EXPECT_EQ(walk(), (QStringList{QString(), QStringLiteral("a/"), QStringLiteral("a/b/")}));
}

TEST_F(FolderWalkTest, EntriesThatAreNoFoldersStayButAreNotWalked)
{
    makeFolders({QStringLiteral("a")});
    QStringList folders{root() + QStringLiteral("missing/"), root()};
    GetSubDirectories2016(folders, true);
    EXPECT_EQ(folders, (QStringList{root() + QStringLiteral("missing/"), root(), root() + QStringLiteral("a/")}));
}

TEST_F(FolderWalkTest, UnreadableFoldersAreDroppedWithoutAMessage)
{
    makeFolders({QStringLiteral("open/inner"), QStringLiteral("shut/inner"), QStringLiteral("zeta")});
    const QString shut = root() + QStringLiteral("shut/");
    const SubfolderLister denyShut = [&](const QString& path, const SubfolderVisitor& visit) {
        if (path == shut)
            throw FileSystemError(QStringLiteral("Could not list"), path,
                                  std::make_error_code(std::errc::permission_denied));
        listSubfoldersOnDisk(path, visit);
    };
    EXPECT_EQ(walk(true, denyShut), (QStringList{QString(), QStringLiteral("open/"), QStringLiteral("zeta/"),
                                                 QStringLiteral("open/inner/")}));
    EXPECT_TRUE(installed.boxes.shown().empty());
}

TEST_F(FolderWalkTest, UnreadableFoldersOnDiskAreDropped)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    makeFolders({QStringLiteral("open"), QStringLiteral("shut/inner")});
    ASSERT_TRUE(QFile::setPermissions(root() + QStringLiteral("shut"), QFile::WriteOwner));
    const QStringList result = walk();
    QFile::setPermissions(root() + QStringLiteral("shut"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(result, (QStringList{QString(), QStringLiteral("open/")}));
    EXPECT_TRUE(installed.boxes.shown().empty());
}

TEST_F(FolderWalkTest, OtherListingFailuresKeepTheFolderAndWhatWasFoundSoFar)
{
    makeFolders({QStringLiteral("a"), QStringLiteral("b")});
    const SubfolderLister failsAfterOne = [&](const QString& path, const SubfolderVisitor& visit) {
        if (path != root()) {
            listSubfoldersOnDisk(path, visit);
            return;
        }
        visit({QByteArray("a"), false});
        throw FileSystemError(QStringLiteral("Could not list"), path, std::make_error_code(std::errc::io_error));
    };
    EXPECT_EQ(walk(true, failsAfterOne), (QStringList{QString(), QStringLiteral("a/")}));
    EXPECT_TRUE(installed.boxes.shown().empty());
}

TEST(UnusualCharacters, ControlsC1AndQuestionMarkAreUnusual)
{
    EXPECT_FALSE(HasUnusualCharacters(QStringLiteral("abc")));
    EXPECT_FALSE(HasUnusualCharacters(QString()));
    EXPECT_FALSE(HasUnusualCharacters(QStringLiteral("Caf\u00E9 \u20AC 2024")));
    EXPECT_FALSE(HasUnusualCharacters(QStringLiteral("\u00A0")));      // 160, just above the C1 range
    EXPECT_TRUE(HasUnusualCharacters(QStringLiteral("a\tb")));
    EXPECT_TRUE(HasUnusualCharacters(QStringLiteral("a?b")));
    EXPECT_TRUE(HasUnusualCharacters(QStringLiteral("\u007F")));       // 127
    EXPECT_TRUE(HasUnusualCharacters(QStringLiteral("x\u009F")));      // 159
    EXPECT_TRUE(HasUnusualCharacters(QByteArrayView("\xE9t\xE9")));  // Latin-1 bytes, no UTF-8
    EXPECT_FALSE(HasUnusualCharacters(QByteArrayView("\xC3\xA9t\xC3\xA9")));
}

} // namespace
} // namespace quintabel
