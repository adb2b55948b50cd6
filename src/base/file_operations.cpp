#include "base/file_operations.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quintabel {

namespace {

int unlinkFile(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 ? 0 : errno;
}

} // namespace

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
