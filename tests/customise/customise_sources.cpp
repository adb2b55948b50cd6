#include "customise_sources.h"

#include <filesystem>
#include <stdexcept>

namespace quintabel::testing {

void copyParadoxTable(const std::string& tableInTestData, const TemporaryFolder& folder)
{
    namespace fs = std::filesystem;
    const fs::path base = fs::path(QUINTABEL_TESTDATA_DIR) / "paradox" / tableInTestData;
    int copied = 0;
    for (const char* extension : {".DB", ".db", ".MB", ".mb"}) {
        fs::path file = base;
        file += extension;
        if (fs::exists(file)) {
            fs::copy_file(file, folder.path() / file.filename());
            ++copied;
        }
    }
    if (copied == 0)
        throw std::runtime_error("no test table " + base.string());
}

} // namespace quintabel::testing
