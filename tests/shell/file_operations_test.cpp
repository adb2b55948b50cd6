#include "shell/file_operations.h"

#include "shell/support/scripted_message_boxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace quintabel {
namespace {

class FileOperationsTest : public ::testing::Test {
protected:
    void write(const QString& path, const QByteArray& contents)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QByteArray read(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return "<missing>";
        return file.readAll();
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    QTemporaryDir folder;
};

TEST_F(FileOperationsTest, RemoveFileDeletesReadOnlyFilesAndIgnoresMissingOnes)
{
    write(path(QStringLiteral("ORDERS.DB")), "table");
    QFile::setPermissions(path(QStringLiteral("ORDERS.DB")), QFile::ReadOwner);
    RemoveFile(path(QStringLiteral("ORDERS.DB")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("ORDERS.DB"))));

    RemoveFile(path(QStringLiteral("MISSING.DB")));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FileOperationsTest, RemoveFileLeavesFoldersAlone)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("SUB.DB")));
    RemoveFile(path(QStringLiteral("SUB.DB")));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("SUB.DB"))).isDir());
    EXPECT_THROW(ForceDeleteFile(path(QStringLiteral("SUB.DB"))), std::runtime_error);
}

TEST_F(FileOperationsTest, RenameFileMovesTheFileAcrossFoldersAndReplacesTheTarget)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("other")));
    write(path(QStringLiteral("ORDERS.MB")), QByteArray("blob\0data", 9));
    write(path(QStringLiteral("other/SALES.MB")), "old target");

    RenameFile(path(QStringLiteral("ORDERS.MB")), path(QStringLiteral("other/SALES.MB")));

    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("ORDERS.MB"))));
    EXPECT_EQ(read(path(QStringLiteral("other/SALES.MB"))), QByteArray("blob\0data", 9));
    EXPECT_EQ(QDir(path(QStringLiteral("other"))).entryList(QDir::Files), QStringList{QStringLiteral("SALES.MB")});
}

TEST_F(FileOperationsTest, FailedCopyIsReportedAndTheSourceStays)
{
    write(path(QStringLiteral("ORDERS.DB")), "only copy");

    RenameFile(path(QStringLiteral("ORDERS.DB")), path(QStringLiteral("no-such-folder/SALES.DB")));

    EXPECT_EQ(read(path(QStringLiteral("ORDERS.DB"))), QByteArray("only copy"));
    const auto reports = boxes.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("\r\nin Tabulex2021/08/31.Main.RenameFile at line 100\r\r")))
        << reports[0].text.toStdString();
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral("Could not copy '"))) << reports[0].text.toStdString();
}

TEST_F(FileOperationsTest, RenameOntoItselfFailsAndLeavesTheFileUntouched)
{
    write(path(QStringLiteral("ORDERS.DB")), "only copy");
    ASSERT_EQ(::symlink("ORDERS.DB", QFile::encodeName(path(QStringLiteral("orders.db"))).constData()), 0);
    const QStringList spellings = {path(QStringLiteral("ORDERS.DB")),
                                   folder.path() + QStringLiteral("//ORDERS.DB"),
                                   path(QStringLiteral("orders.db"))};
    for (const QString& sameFile : spellings) {
        RenameFile(path(QStringLiteral("ORDERS.DB")), sameFile);
        EXPECT_EQ(read(path(QStringLiteral("ORDERS.DB"))), QByteArray("only copy")) << sameFile.toStdString();
    }
    EXPECT_EQ(boxes.errorReports().size(), 3u);
}

} // namespace
} // namespace quintabel
