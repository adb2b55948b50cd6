#include "connections/window/sample_folder.h"

#include "base/expected_problem.h"
#include "base/path_helpers.h"

#include <QLineEdit>
#include <QStandardPaths>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace quintabel {

namespace {

fs::path pathOf(const QString& text)
{
    return fs::path(text.toStdString());
}

QString textOf(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

[[noreturn]] void failToCopy(const fs::path& target, const std::string& cause)
{
    throw Expected<std::runtime_error>("Could not copy the sample tables into '" + target.string() +
                                       "': " + cause);
}

// Copies the files of `source` into a fresh folder beside `target` and moves it into place in
// one rename, so that `target` is either absent or complete. A copy that another program put
// in place meanwhile is kept.
void copyWhole(const fs::path& source, const fs::path& target)
{
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error)
        failToCopy(target, error.message());
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + "-copying-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr)
        failToCopy(target, std::error_code(errno, std::generic_category()).message());
    const fs::path partial(name.data());

    const auto giveUp = [&](const std::string& cause) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        failToCopy(target, cause);
    };
    fs::copy(source, partial, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    if (error)
        giveUp(error.message());
    // The installed samples are read-only; the user's copies are the user's to change.
    fs::permissions(partial, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec, error);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(partial, error)) {
        if (entry.is_regular_file())
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, error);
        if (error)
            break;
    }
    if (error)
        giveUp(error.message());
    fs::rename(partial, target, error);
    if (error) {
        std::error_code ignored;
        if (fs::is_directory(target, ignored)) {
            fs::remove_all(partial, ignored);
            return;
        }
        giveUp(error.message());
    }
}

} // namespace

QString sampleFolderPath(const QString& programFolder)
{
    return programFolder + QLatin1Char('/') + QLatin1String(kSampleFolderName);
}

QString usableSampleFolder(const QString& programFolder, const QString& userDataFolder)
{
    const fs::path besideProgram = pathOf(sampleFolderPath(programFolder));
    const fs::path installed = pathOf(installedDataFolder(programFolder)) / kSampleFolderName;
    std::error_code error;
    fs::path source;
    if (fs::is_directory(besideProgram, error)) {
        if (::access(besideProgram.c_str(), W_OK) == 0)
            return textOf(besideProgram);
        source = besideProgram;
    } else if (fs::is_directory(installed, error)) {
        source = installed.lexically_normal();
    } else {
        return textOf(besideProgram);
    }

    if (userDataFolder.isEmpty())
        throw Expected<std::runtime_error>("The sample tables are read-only here, and there is no user data "
                                           "folder to copy them into.");
    const fs::path copy = pathOf(userDataFolder) / "Quintabel" / kSampleFolderName;
    if (!fs::exists(copy, error))
        copyWhole(source, copy);
    return textOf(copy);
}

void loadSampleDatabase(StepGuard& guard, QLineEdit& folderField, const QString& programFolder)
{
    guard.step(100, [&] {
        const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        folderField.setText(usableSampleFolder(programFolder, userData));
    });
}

} // namespace quintabel
