#include "shell/file_operations.h"

#include "shell/path_helpers.h"
#include "shell/step_guard.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace quintabel {

namespace {

std::runtime_error copyFailure(const QString& source, const QString& target, const QString& reason)
{
    return std::runtime_error(
        QStringLiteral("Could not copy '%1' to '%2': %3.").arg(source, target, reason).toStdString());
}

// True when both paths lead to one file: the same path, a link, or another spelling of the
// same name on a file system that ignores case.
bool isSameFile(const QString& source, const QString& target)
{
    if (source == target)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(ToFileSystemPath(source), ToFileSystemPath(target), error) &&
           !error;
}

int unlinkFile(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 ? 0 : errno;
}

} // namespace

void CopyFileReplacing(const QString& source, const QString& target)
{
    if (isSameFile(source, target))
        throw copyFailure(source, target, QStringLiteral("source and target are the same file"));
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        throw copyFailure(source, target, input.errorString());
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        throw copyFailure(source, target, output.errorString());
    constexpr qint64 kChunk = 1 << 16;
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(kChunk);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError)
            throw copyFailure(source, target, input.errorString());
        if (output.write(chunk) != chunk.size())
            throw copyFailure(source, target, output.errorString());
    }
    // commit() flushes the copy to disk before it takes the target's name.
    if (!output.commit())
        throw copyFailure(source, target, output.errorString());
    QFile::setPermissions(target, input.permissions());
}

void RenameFile(const QString& source, const QString& target)
{
    StepGuard guard(QStringLiteral("Main"), QStringLiteral("RenameFile"));
    const bool copied = guard.step(100, [&] { CopyFileReplacing(source, target); });
    if (!copied)
        return; // removing the source now would lose the only copy
    guard.step(102, [&] { RemoveFile(source); });
}

void RemoveFile(const QString& path)
{
    QCoreApplication::processEvents();
    if (unlinkFile(path) == 0)
        return;
    try {
        ForceDeleteFile(path);
    } catch (...) {
        // The caller learns nothing about the outcome.
    }
}

void ForceDeleteFile(const QString& path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(nativePath.constData(), &status) != 0)
        throw std::runtime_error(
            QStringLiteral("File not found: '%1'.").arg(path).toStdString());
    if (S_ISDIR(status.st_mode))
        throw std::runtime_error(
            QStringLiteral("'%1' is a folder, not a file.").arg(path).toStdString());
    // Windows refuses to delete a read-only file without force; giving the owner write
    // permission first is the same force here, and is undone if the delete still fails.
    const bool madeWritable = !S_ISLNK(status.st_mode) && (status.st_mode & S_IWUSR) == 0 &&
                              ::chmod(nativePath.constData(), status.st_mode | S_IWUSR) == 0;
    if (const int error = unlinkFile(path); error != 0) {
        if (madeWritable)
            ::chmod(nativePath.constData(), status.st_mode & 07777);
        throw std::runtime_error(QStringLiteral("Could not delete '%1': %2.")
                                     .arg(path, QString::fromLocal8Bit(std::strerror(error)))
                                     .toStdString());
    }
}

} // namespace quintabel
