#include "transfer/paradox_replacement.h"

#include "paradoxfile/table_family.h"
#include "shell/path_helpers.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace quintabel {

namespace fs = std::filesystem;

namespace {

// Renames `from` to `to` unless `to` exists. File systems without the no-replace rename get
// a hard link and an unlink, which refuses an existing target just the same.
void renameWithoutReplacing(const fs::path& from, const fs::path& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS)
        throw std::system_error(errno, std::generic_category(), "cannot move '" + from.string() + "' to '" + to.string() + "'");
    if (link(from.c_str(), to.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot move '" + from.string() + "' to '" + to.string() + "'");
    unlink(from.c_str());
}

bool isTableFile(const fs::path& path)
{
    std::string extension = path.extension().string();
    return extension.size() == 3 && (extension[1] == 'd' || extension[1] == 'D')
        && (extension[2] == 'b' || extension[2] == 'B');
}

} // namespace

ParadoxStaging::ParadoxStaging(const QString& paradoxFolder) : paradoxFolder_(ToFileSystemPath(paradoxFolder))
{
    if (paradoxFolder.isEmpty())
        throw std::runtime_error("No Paradox folder is given.");
    std::string pattern = (paradoxFolder_ / ".quintabel-replacing-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("Cannot make a folder for the new table in '" + paradoxFolder_.string()
                                 + "': " + std::strerror(errno));
    staging_ = pattern;
}

ParadoxStaging::~ParadoxStaging()
{
    if (keep_)
        return;
    std::error_code ignored;
    fs::remove_all(staging_, ignored);
}

std::string ParadoxStaging::folderText() const
{
    return staging_.string() + "/";
}

void ParadoxStaging::moveTableIntoParadoxFolder()
{
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(staging_))
        files.push_back(entry.path());
    // Companions first, the .DB last: the table appears only with everything it needs.
    std::stable_partition(files.begin(), files.end(), [](const fs::path& file) { return !isTableFile(file); });
    try {
        for (const fs::path& file : files) {
            const std::string name = file.filename().string();
            if (paradox::findFileIgnoringCase(paradoxFolder_, name))
                throw std::runtime_error("'" + name + "' already exists in '" + paradoxFolder_.string() + "'");
            renameWithoutReplacing(file, paradoxFolder_ / name);
        }
    } catch (const std::exception& problem) {
        keep_ = true;
        throw std::runtime_error("The new table is complete in '" + staging_.string()
                                 + "' but could not be moved into the Paradox folder: " + problem.what());
    }
}

bool ParadoxFolderHoldsTable(const QString& folder, const QString& tableName)
{
    return paradox::findFileIgnoringCase(ToFileSystemPath(folder), tableName.toStdString() + ".db").has_value();
}

} // namespace quintabel
