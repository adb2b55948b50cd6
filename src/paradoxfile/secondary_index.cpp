#include "paradoxfile/secondary_index.h"

#include "base/ascii_case.h"
#include "paradoxfile/byte_io.h"
#include "paradoxfile/code_page.h"
#include "paradoxfile/detail/endian.h"
#include "paradoxfile/detail/index_data_header.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"

#include <optional>

namespace quintabel::paradox {

namespace fs = std::filesystem;

namespace {

// What an index file's extension says: data (.X…) or tree (.Y…), single-field or
// composite, and for a single-field index the field's number ("X0A": field 10).
struct IndexFileName {
    bool data = false;
    bool composite = false;
    int fieldNumber = 0;
};

int hexValue(char c)
{
    c = asciiLower(c);
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<IndexFileName> indexFileName(const fs::path& file)
{
    std::string extension = file.extension().string();
    if (extension.size() != 4)
        return std::nullopt;
    extension.erase(0, 1);
    const char kind = asciiLower(extension[0]);
    if (kind != 'x' && kind != 'y')
        return std::nullopt;
    IndexFileName name;
    name.data = kind == 'x';
    if (asciiLower(extension[1]) == 'g' && hexValue(extension[2]) >= 0) {
        name.composite = true;
        return name;
    }
    if (hexValue(extension[1]) < 0 || hexValue(extension[2]) < 0)
        return std::nullopt;
    name.fieldNumber = hexValue(extension[1]) * 16 + hexValue(extension[2]);
    return name;
}

// The .Y… that goes with an .X…: the same name with Y for X, in the same letter case.
std::string treeFileName(const fs::path& dataFile)
{
    std::string name = dataFile.filename().string();
    char& kind = name[name.size() - 3];
    kind = kind == 'x' ? 'y' : 'Y';
    return name;
}

// Why an index file is left out; caught per file.
struct Skipped {
    std::string reason;
};

bool sameShape(const Field& a, const Field& b)
{
    return a.type == b.type && a.size == b.size && a.decimals == b.decimals;
}

// Reads the NUL-terminated bytes at `at` within the header; empty when `at` lies outside.
std::string headerString(const std::vector<std::uint8_t>& header, std::size_t at)
{
    std::string text;
    for (; at < header.size() && header[at] != 0; ++at)
        text.push_back(static_cast<char>(header[at]));
    return text;
}

class IndexFileReader {
public:
    IndexFileReader(const TableHeader& table, const fs::path& file, const IndexFileName& name)
        : table_(table), file_(file), name_(name)
    {
    }

    SecondaryIndex read()
    {
        const FileSource source(file_);
        ReaderOptions options;
        options.codePage = table_.textCodePage;
        index_ = detail::parseIndexDataHeader(source, options);
        header_.resize(static_cast<std::size_t>(index_.headerSize));
        source.readAt(0, header_);

        const bool compositeType = index_.fileType == 6 || index_.fileType == 8;
        if (compositeType != name_.composite)
            throw Skipped{"its file type " + std::to_string(index_.fileType) + " is not that of a "
                          + (name_.composite ? "composite" : "single-field") + " index"};
        // An index record holds the indexed fields, then the table's key, then a Short with
        // the number of the data block that holds the record.
        const int keyFields = table_.keyFieldCount;
        const int indexed = index_.keyFieldCount - keyFields;
        if (indexed < 1 || static_cast<std::size_t>(index_.keyFieldCount) + 1 != index_.fields.size()
            || index_.fields.back().type != FieldType::Short)
            throw Skipped{"its " + std::to_string(index_.fields.size()) + " fields and "
                          + std::to_string(index_.keyFieldCount)
                          + " key fields are not the indexed fields, the table's key and a block number"};
        for (int i = 0; i < keyFields; ++i)
            if (!sameShape(index_.fields[static_cast<std::size_t>(indexed + i)],
                           table_.fields[static_cast<std::size_t>(i)]))
                throw Skipped{"its copy of the table's key is not the table's key"};

        SecondaryIndex result;
        result.file = file_;
        result.composite = name_.composite;
        result.fieldNumbers = fieldNumbers(indexed);
        for (int i = 0; i < indexed; ++i) {
            const int number = result.fieldNumbers[static_cast<std::size_t>(i)];
            if (number < 1 || static_cast<std::size_t>(number) > table_.fields.size())
                throw Skipped{"it names field " + std::to_string(number) + ", which the table does not have"};
            const Field& field = table_.fields[static_cast<std::size_t>(number - 1)];
            if (!sameShape(index_.fields[static_cast<std::size_t>(i)], field))
                throw Skipped{"its field " + std::to_string(i + 1) + " is not of the type and size of field '"
                              + field.name + "'"};
            result.fieldNames.push_back(field.name);
        }
        if (!name_.composite && result.fieldNumbers.front() != name_.fieldNumber)
            throw Skipped{"its name says field " + std::to_string(name_.fieldNumber) + ", its header field "
                          + std::to_string(result.fieldNumbers.front())};
        result.name = storedName();
        if (index_.fileVersion == 12) {
            const std::uint8_t flags = header_[0x55];
            result.descending = (flags & 0x10) != 0;
            result.unique = (flags & 0x20) != 0;
        }
        return result;
    }

private:
    // The table's numbers of the first `indexed` fields of the index.
    std::vector<int> fieldNumbers(int indexed) const
    {
        std::vector<int> numbers;
        if (index_.fileVersion >= 5) {
            // The field-number array follows the field names (0x58 + [0x66]).
            const std::size_t at = 0x58 + detail::loadLe16(header_.data() + 0x66);
            if (at + 2 * static_cast<std::size_t>(indexed) > header_.size())
                throw Skipped{"its field numbers lie outside its header"};
            for (int i = 0; i < indexed; ++i)
                numbers.push_back(detail::loadLe16(header_.data() + at + 2 * static_cast<std::size_t>(i)));
            return numbers;
        }
        // Versions 3 and 4 have no field numbers. A single-field index is called after its
        // field's number; a composite one keeps the table's names of its fields.
        if (!name_.composite)
            return {name_.fieldNumber};
        for (int i = 0; i < indexed; ++i) {
            const std::string& name = index_.fields[static_cast<std::size_t>(i)].name;
            int found = 0;
            for (std::size_t f = 0; f < table_.fields.size() && found == 0; ++f)
                if (table_.fields[f].name == name)
                    found = static_cast<int>(f) + 1;
            if (found == 0)
                throw Skipped{"it indexes a field '" + name + "', which the table does not have"};
            numbers.push_back(found);
        }
        return numbers;
    }

    // The index's name, stored after the sort-order id's NUL (versions 5 and up).
    std::string storedName() const
    {
        if (index_.fileVersion < 5)
            return {};
        const std::size_t sortOrderId = 0x58 + detail::loadLe16(header_.data() + 0x6E);
        const std::string id = headerString(header_, sortOrderId);
        const std::string bytes = headerString(header_, sortOrderId + id.size() + 1);
        std::string name;
        if (!CodePage(table_.textCodePage)
                 .decode({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, name))
            throw Skipped{"its name is not text in code page " + std::to_string(table_.textCodePage)};
        return name;
    }

    const TableHeader& table_;
    const fs::path& file_;
    const IndexFileName& name_;
    TableHeader index_;
    std::vector<std::uint8_t> header_;
};

} // namespace

SecondaryIndexes readSecondaryIndexes(const fs::path& dbPath, const TableHeader& table)
{
    SecondaryIndexes result;
    const std::string tableFile = dbPath.filename().string();
    const auto skip = [&](const fs::path& file, const std::string& reason) {
        const bool sentence = !reason.empty() && reason.back() == '.';
        result.warnings.push_back("Secondary index file '" + file.filename().string() + "' of table '" + tableFile
                                  + "' is left out: " + reason + (sentence ? "" : "."));
    };
    std::vector<fs::path> companions;
    try {
        companions = findCompanions(dbPath);
    } catch (const Error& error) {
        result.warnings.push_back("The secondary indexes of table '" + tableFile
                                  + "' cannot be looked for: " + error.what());
        return result;
    }
    const auto hasCompanion = [&](const std::string& name) {
        for (const fs::path& companion : companions)
            if (equalIgnoringCase(companion.filename().string(), name))
                return true;
        return false;
    };
    for (const fs::path& file : companions) {
        const auto name = indexFileName(file);
        if (!name)
            continue;
        if (!name->data) {
            std::string dataName = file.filename().string();
            dataName[dataName.size() - 3] = dataName[dataName.size() - 3] == 'y' ? 'x' : 'X';
            if (!hasCompanion(dataName))
                skip(file, "there is no '" + dataName + "' with the index's definition beside it");
            continue;
        }
        try {
            result.indexes.push_back(IndexFileReader(table, file, *name).read());
        } catch (const Skipped& skipped) {
            skip(file, skipped.reason);
            continue;
        } catch (const Error& error) {
            skip(file, error.what());
            continue;
        }
        // The definition stands without the tree, which Paradox would rebuild.
        if (!hasCompanion(treeFileName(file)))
            result.warnings.push_back("Secondary index '" + file.filename().string() + "' of table '" + tableFile
                                      + "' has no '" + treeFileName(file) + "'; its definition is read all the same.");
    }
    return result;
}

} // namespace quintabel::paradox
