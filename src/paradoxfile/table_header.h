#pragma once
// The header of a Paradox .DB file: what the table is, as the file says.

#include "paradoxfile/errors.h"
#include "paradoxfile/field.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quintabel::paradox {

class ByteSource;

struct ReaderOptions {
    // The code page to read text in. 0: the table's own (the header's code page; for tables
    // without one, the DOS code page that goes with the table's sort order, 437 by default).
    int codePage = 0;
};

struct TableHeader {
    // The file-format level byte at 0x39: 3 = 3.0, 4 = 3.5, 5..9 = 4.x, 10..11 = 5.x, 12 = 7.x.
    int fileVersion = 0;
    // 0 = keyed table (has a primary key and a .PX), 2 = keyless table.
    int fileType = 0;
    // The code page the header names (0 when it names none, as in every 3.x file).
    int codePage = 0;
    // The code page that text is read in: ReaderOptions::codePage, or codePage, or the one
    // that goes with the sort order.
    int textCodePage = 0;
    // Where textCodePage came from; CodePageOrigin::Guessed when nothing in the file named it.
    CodePageOrigin codePageOrigin = CodePageOrigin::Header;
    // The record count the header claims; the block chain may disagree (see TableReader).
    std::uint32_t recordCount = 0;
    int keyFieldCount = 0;
    // The name the table was created under, as stored in the header (informational), UTF-8.
    std::string tableName;
    std::vector<Field> fields;

    int recordSize = 0;
    int headerSize = 0;
    int blockSize = 0; // bytes
    int blocksInUse = 0;
    int totalBlocks = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    // Levels 5.x and 7.x: the last autoincrement value handed out.
    std::uint32_t autoIncrementValue = 0;
    int sortOrder = 0;       // the language-driver byte at 0x29
    std::string sortOrderId; // "ascii", "ANSIINTL", ... (empty in 3.x files)
    // A password-protected table: its data blocks and its .MB are scrambled with this key
    // (docs/paradox-format.md §12); 0 for a plain table. The reader unscrambles them.
    std::uint32_t encryptionKey = 0;
    bool encrypted = false;
    bool writeProtected = false;
};

// "3.0", "3.5", "4.x", "5.x" or "7.x".
std::string fileVersionText(int fileVersion);

// Reads and checks the header of a .DB file. Throws FormatError when the bytes are not a sane
// Paradox table header. A password-protected table's header is not scrambled; `encrypted` and
// `encryptionKey` say that its data is.
TableHeader parseTableHeader(const ByteSource& source, const ReaderOptions& options = {});

// The code page whose text a sort order (language driver) collates: by its id where the
// header spells one, else by its byte. Nothing for a sort order that does not settle it
// ("ascii", whose tables come in 437 and in 850) or that is not known.
std::optional<int> codePageOfSortOrder(int sortOrder, const std::string& sortOrderId);

// The code page read when neither the header nor the sort order names one: Paradox's DOS default.
inline constexpr int guessedCodePage = 437;

} // namespace quintabel::paradox
