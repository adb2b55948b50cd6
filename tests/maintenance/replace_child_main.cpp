// A process that the kill tests stop at each of its kill points: it replaces table X of a
// Paradox folder with the new generation of the test tables, or recovers the folder.
//
//     paradox_replace_child replace FOLDER TABLE
//     paradox_replace_child rename FOLDER TABLE NEWNAME
//     paradox_replace_child delete FOLDER TABLE
//     paradox_replace_child recover FOLDER

#include "maintenance/family_changes.h"
#include "maintenance/family_swap.h"
#include "maintenance/folder_recovery.h"
#include "maintenance/paradox_replacement.h"
#include "replace_test_tables.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    using namespace quintabel;
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "replace" && argc == 4) {
            ParadoxReplacement replacement(argv[2], argv[3], ParadoxReplacement::Existing::Replace);
            testing::WriteGeneration(replacement.stagingFolder(), argv[3], testing::Generation::New);
            replacement.complete();
            return 0;
        }
        if ((command == "rename" && argc == 5) || (command == "delete" && argc == 4)) {
            const FolderWriteLock lock = FolderWriteLock::take(argv[2]);
            const std::vector<std::string> family = tableFamilyFilesIn(argv[2], argv[3]);
            if (command == "rename")
                renameFamily(argv[2], {}, argv[3], family, argv[4]);
            else
                deleteFamily(argv[2], {}, argv[3], family);
            return 0;
        }
        if (command == "recover" && argc == 3) {
            recoverParadoxFolder(argv[2]);
            return 0;
        }
        std::fprintf(stderr, "usage: paradox_replace_child replace FOLDER TABLE | rename FOLDER TABLE NEWNAME | "
                             "delete FOLDER TABLE | recover FOLDER\n");
        return 2;
    } catch (const std::exception& problem) {
        std::fprintf(stderr, "%s\n", problem.what());
        return 1;
    }
}
