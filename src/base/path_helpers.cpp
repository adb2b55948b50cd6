#include "base/path_helpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <system_error>

namespace quintabel {

namespace {

constexpr QChar kSeparator = QLatin1Char('/');

} // namespace

QString FileNameOfPath(const QString& path)
{
    return path.mid(path.lastIndexOf(kSeparator) + 1);
}

std::filesystem::path toFileSystemPath(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::filesystem::path(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

bool PathExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    std::error_code error;
    [[maybe_unused]] const auto modified = std::filesystem::last_write_time(toFileSystemPath(path), error);
    return !error;
}

std::optional<bool> IsFolder(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(toFileSystemPath(path), error);
    if (error || !std::filesystem::exists(status))
        return std::nullopt;
    return std::filesystem::is_directory(status);
}

QString folderOfProgram()
{
    return QCoreApplication::applicationDirPath();
}

QString installedDataFolder(const QString& programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/quintabel"));
}

} // namespace quintabel
