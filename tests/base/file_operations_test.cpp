#include "base/file_operations.h"

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

} // namespace
} // namespace quintabel
