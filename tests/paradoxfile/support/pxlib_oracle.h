#pragma once
// pxlib as an independent reader for the tests (never for the program). Every read runs in a
// forked child that sends what pxlib saw back through a pipe, because Debian's pxlib 0.6.8
// aborts ("stack smashing detected") when it opens a .MB file: a pxlib crash marks the result
// as crashed and never takes the test binary down.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quintabel::paradox::testing {

struct PxlibField {
    std::string name; // as stored, not recoded
    char type = 0;    // pxlib's type code (pxfAlpha, ...)
    int size = 0;     // px_flen
    int decimals = 0; // px_fdc
};

struct PxlibValue {
    bool isNull = false;
    long integer = 0;
    double number = 0;
    std::string bytes; // text (UTF-8 when pxlib recoded it), BCD text, blob or Bytes data
};

struct PxlibTable {
    bool crashed = false;  // the child died (pxlib aborted)
    bool opened = false;   // PX_open_file succeeded
    std::string errors;    // what pxlib's error handler said
    int fileVersion = 0;   // pxlib's numbering: 30, 35, 40, 50, 70
    int codePage = 0;
    int numRecords = 0;
    int keyFields = 0;
    int recordSize = 0;
    std::string tableName;
    std::vector<PxlibField> fields;
    std::vector<std::vector<PxlibValue>> records;
    std::vector<bool> recordRead; // false where PX_retrieve_record failed
};

struct PxlibOptions {
    // Hand pxlib this .MB file (it may crash: see above). Without it, pxlib never sees a .MB.
    std::optional<std::filesystem::path> blobFile;
    // Ask pxlib to recode Alpha values to this encoding; empty: leave them as stored.
    std::string targetEncoding = "UTF-8";
};

PxlibTable readWithPxlib(const std::filesystem::path& dbFile, const PxlibOptions& options = {});

} // namespace quintabel::paradox::testing
