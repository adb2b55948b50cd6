#include "fsutil/file_system_error.h"

namespace quintabel {

namespace {

std::string describe(const QString& what, const QString& path, std::error_code reason)
{
    return QStringLiteral("%1 '%2': %3.")
        .arg(what, path, QString::fromLocal8Bit(reason.message().c_str()))
        .toStdString();
}

} // namespace

FileSystemError::FileSystemError(const QString& what, const QString& path, std::error_code reason)
    : std::runtime_error(describe(what, path, reason)), reason_(reason)
{
}

bool FileSystemError::isMissing() const
{
    return reason_ == std::errc::no_such_file_or_directory || reason_ == std::errc::not_a_directory;
}

bool FileSystemError::isDeniedOrMissing() const
{
    return isMissing() || reason_ == std::errc::permission_denied ||
           reason_ == std::errc::operation_not_permitted;
}

} // namespace quintabel
