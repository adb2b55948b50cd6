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

// One entry of a primary index as PX_read_primary_index gives it.
struct PxlibIndexEntry {
    std::string key; // the key bytes as stored
    int block = 0;   // the block it points at
    int records = 0;
    int level = 0; // pxlib's guess: 1 or 2
};

struct PxlibPrimaryIndex {
    bool crashed = false;
    bool read = false;            // PX_read_primary_index succeeded
    bool acceptedByTable = false; // and PX_add_primary_index took it for `dbFile`
    int levels = 0;               // the header's
    std::string errors;
    std::vector<PxlibIndexEntry> entries;
};

// Reads a .PX with pxlib (in a forked child, as above) and offers it to its .DB, which pxlib
// opens without any .MB.
PxlibPrimaryIndex readPrimaryIndexWithPxlib(const std::filesystem::path& pxFile,
                                            const std::filesystem::path& dbFile);

} // namespace quintabel::paradox::testing
