#pragma once
// Reading a table whole with our reader, and comparing that reading with pxlib's, field by
// field, NULLs included, within the limits of Debian's pxlib 0.6.8 (each allowance is named
// and counted, so a test can see which ones it relied on).

#include "paradoxfile/table_reader.h"
#include "support/pxlib_oracle.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quintabel::paradox::testing {

struct OurTable {
    TableHeader header;
    std::vector<std::vector<Value>> records;
    std::vector<std::string> warnings;
};

OurTable readWithOurs(const std::filesystem::path& dbFile, const ReaderOptions& options = {});

// Reads with pxlib, giving it the table's .MB when there is one. pxlib 0.6.8 aborts on a .MB
// whose size is a multiple of 4096 (every correct .MB), but reads one that is a byte longer,
// so pxlib gets a copy with one byte appended, in a scratch folder.
PxlibTable readWithPxlibAndBlobs(const std::filesystem::path& dbFile);

struct PxlibComparison {
    std::vector<std::string> differences; // empty: the readings agree
    std::size_t valuesCompared = 0;
    std::size_t blobValuesCompared = 0; // non-blank blob values that both readers returned
    // Values not compared or compared leniently because of a known pxlib fault, by reason
    // (one word per reason, so they can go into a test report).
    std::map<std::string, std::size_t> allowances;
};

// With `header` false, only the fields and the values are compared (for a copy, whose file
// version, key and name differ from its source's).
PxlibComparison compareWithPxlib(const OurTable& ours, const PxlibTable& pxlib, bool header = true);

// Every .DB/.db file under the test data's paradox folder, sorted.
std::vector<std::filesystem::path> testdataTables();
// A test name for one of them: its path below the paradox folder, letters and digits only.
std::string testdataTestName(const std::filesystem::path& table);
std::filesystem::path testdataPath(const std::string& relative);

// A fresh, empty scratch folder under the system's temporary folder, removed on destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // File names in the folder, sorted.
    std::vector<std::string> fileNames() const;

private:
    std::filesystem::path path_;
};

} // namespace quintabel::paradox::testing
