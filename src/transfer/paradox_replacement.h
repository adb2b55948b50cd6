#pragma once
// Replacing an existing Paradox table without ever being left with neither table: the new
// table is written whole into a private folder inside the Paradox folder first; only then is
// the old table dropped and the new one's files moved in beside the others. A move within one
// folder tree is a rename, so the new table appears at once; its .MB goes before its .DB, so a
// table never shows without its memos.

#include <QString>

#include <filesystem>
#include <string>

namespace quintabel {

class ParadoxStaging {
public:
    // Creates a fresh hidden folder in `paradoxFolder`. Throws std::runtime_error when it
    // cannot.
    explicit ParadoxStaging(const QString& paradoxFolder);
    // Removes the folder with whatever it still holds, unless a failed move kept it.
    ~ParadoxStaging();
    ParadoxStaging(const ParadoxStaging&) = delete;
    ParadoxStaging& operator=(const ParadoxStaging&) = delete;

    // The folder as the write-out statement names it, ending in a separator.
    std::string folderText() const;

    // Moves every file of the staged table into the Paradox folder, never replacing a file
    // there (letter case ignored). On failure the staging folder is kept, so the new table
    // is not lost, and the message names it. Throws std::runtime_error.
    void moveTableIntoParadoxFolder();

private:
    std::filesystem::path paradoxFolder_;
    std::filesystem::path staging_;
    bool keep_ = false;
};

// Whether `folder` itself holds the .DB of `tableName` (letter case ignored). Throws when
// the folder cannot be read or the name is ambiguous.
bool ParadoxFolderHoldsTable(const QString& folder, const QString& tableName);

} // namespace quintabel
