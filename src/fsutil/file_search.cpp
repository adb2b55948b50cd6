#include "fsutil/file_search.h"

#include "base/path_helpers.h"
#include "fsutil/file_system_error.h"
#include "fsutil/unusual_characters.h"

#include <filesystem>

namespace quintabel {

namespace {

// The names in one folder; none when the folder does not exist.
QStringList namesInFolder(const QString& folder)
{
    const auto failure = [&](std::error_code reason) {
        return FileSystemError(QStringLiteral("Could not search the folder"), folder, reason);
    };
    std::error_code reason;
    std::filesystem::directory_iterator entries(toFileSystemPath(folder), reason);
    if (reason) {
        if (reason == std::errc::no_such_file_or_directory || reason == std::errc::not_a_directory)
            return {};
        throw failure(reason);
    }
    QStringList names;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(reason)) {
        if (reason)
            throw failure(reason);
        const std::string raw = entries->path().filename().native();
        if (const std::optional<QString> name =
                nameFromFileSystem(QByteArrayView(raw.data(), static_cast<qsizetype>(raw.size()))))
            names.append(*name);
    }
    if (reason)
        throw failure(reason);
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace

bool wildcardMatches(const QString& pattern, const QString& name)
{
    const QString wanted = pattern.toCaseFolded();
    const QString text = name.toCaseFolded();
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starAt = -1;   // where the last "*" stood in the pattern
    qsizetype starText = 0;  // where the text stood when that "*" was met
    while (t < text.size()) {
        if (p < wanted.size() && (wanted[p] == QLatin1Char('?') || wanted[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < wanted.size() && wanted[p] == QLatin1Char('*')) {
            starAt = p++;
            starText = t;
        } else if (starAt >= 0) {
            // Let the last "*" swallow one more character and try again from there.
            p = starAt + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < wanted.size() && wanted[p] == QLatin1Char('*'))
        ++p;
    return p == wanted.size();
}

bool FileExistsStrict(const QString& path)
{
    std::error_code reason;
    const std::filesystem::file_status status = std::filesystem::status(toFileSystemPath(path), reason);
    return !reason && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

QStringList FindFiles(QString folder, const QString& pattern)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QStringList found;
    for (const QString& name : namesInFolder(folder)) {
        if (wildcardMatches(pattern, name) && FileExistsStrict(folder + name))
            found.append(name);
    }
    return found;
}

} // namespace quintabel
