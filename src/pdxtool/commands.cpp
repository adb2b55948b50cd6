#include "pdxtool/commands.h"

#include "paradoxfile/errors.h"
#include "paradoxfile/key_order.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_writer.h"
#include "pdxtool/json_writer.h"

#include <charconv>
#include <exception>
#include <optional>

namespace quintabel::pdxtool {

namespace {

using namespace quintabel::paradox;

constexpr const char* usage = "usage: pdxtool info [--code-page N] TABLE.db\n"
                              "       pdxtool dump [--code-page N] TABLE.db\n"
                              "       pdxtool copy [--code-page N] [--target-code-page N] TABLE.db FOLDER\n";

struct UsageError {
    std::string message;
};

struct CommandLine {
    std::string command;
    std::vector<std::string> operands;
    int codePage = 0;
    int targetCodePage = 0;
};

int parseCodePage(const std::string& text)
{
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value <= 0 || value > 65535)
        throw UsageError{"'" + text + "' is not a code page number"};
    return value;
}

CommandLine parse(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        throw UsageError{"no command given"};
    CommandLine line;
    line.command = arguments[0];
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--code-page" || argument == "--target-code-page") {
            if (i + 1 >= arguments.size())
                throw UsageError{argument + " needs a code page number"};
            (argument == "--code-page" ? line.codePage : line.targetCodePage) = parseCodePage(arguments[++i]);
        } else if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) {
            throw UsageError{"unknown option " + argument};
        } else {
            line.operands.push_back(argument);
        }
    }
    const std::size_t wanted = line.command == "copy" ? 2 : 1;
    if (line.command != "info" && line.command != "dump" && line.command != "copy")
        throw UsageError{"unknown command '" + line.command + "'"};
    if (line.operands.size() != wanted)
        throw UsageError{"'" + line.command + "' takes " + (wanted == 1 ? "one table" : "a table and a folder")};
    if (line.targetCodePage != 0 && line.command != "copy")
        throw UsageError{"--target-code-page belongs to 'copy'"};
    return line;
}

void write(std::FILE* out, const std::string& text)
{
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), out) != text.size())
        throw IoError("Cannot write the output.");
}

void printWarnings(const TableReader& reader, std::FILE* err)
{
    for (const auto& warning : reader.warnings())
        std::fprintf(err, "pdxtool: warning: %s\n", warning.c_str());
}

TableReader openTable(const CommandLine& line)
{
    ReaderOptions options;
    options.codePage = line.codePage;
    return TableReader::open(line.operands[0], options);
}

// Builds the info object one member at a time.
class JsonObject {
public:
    std::string& key(const char* name)
    {
        text_ += text_.size() > 1 ? ", \"" : "\"";
        text_ += name;
        text_ += "\": ";
        return text_;
    }
    void number(const char* name, std::int64_t value) { appendJsonNumber(key(name), value); }
    void string(const char* name, const std::string& value) { appendJsonString(key(name), value); }
    std::string close() { return text_ + "}"; }

private:
    std::string text_ = "{";
};

// Where the code page of the text came from: "guessed" warns that nothing in the file named it.
const char* codePageOriginName(CodePageOrigin origin)
{
    switch (origin) {
    case CodePageOrigin::Chosen:
        return "chosen";
    case CodePageOrigin::Header:
        return "header";
    case CodePageOrigin::SortOrder:
        return "sortOrder";
    case CodePageOrigin::Guessed:
        break;
    }
    return "guessed";
}

int info(const CommandLine& line, std::FILE* out)
{
    const auto reader = openTable(line);
    const TableHeader& header = reader.header();
    JsonObject object;
    object.string("file", line.operands[0]);
    object.string("version", fileVersionText(header.fileVersion));
    object.number("versionByte", header.fileVersion);
    object.key("keyed") += header.fileType == 0 ? "true" : "false";
    object.number("codePage", header.codePage);
    object.number("textCodePage", header.textCodePage);
    object.string("textCodePageFrom", codePageOriginName(header.codePageOrigin));
    object.string("sortOrder", header.sortOrderId);
    object.key("protected") += header.encrypted ? "true" : "false";
    object.number("recordsInHeader", header.recordCount);
    object.number("recordsCounted", static_cast<std::int64_t>(reader.countRecords()));
    object.number("keyFields", header.keyFieldCount);
    object.string("tableName", header.tableName);
    object.number("recordSize", header.recordSize);
    object.number("blockSize", header.blockSize);
    if (reader.blobFilePath().empty())
        object.key("blobFile") += "null";
    else
        object.string("blobFile", reader.blobFilePath().string());
    std::string& fields = object.key("fields");
    fields += "[";
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const Field& field = header.fields[i];
        JsonObject entry;
        entry.string("name", field.name);
        entry.string("type", std::string(1, fieldTypeLetter(field.type)));
        entry.number("size", field.size);
        if (field.type == FieldType::Bcd)
            entry.number("decimals", field.decimals);
        fields += (i ? ", " : "") + entry.close();
    }
    fields += "]";
    write(out, object.close() + "\n");
    return 0;
}

int dump(const CommandLine& line, std::FILE* out, std::FILE* err)
{
    auto reader = openTable(line);
    const auto& fields = reader.header().fields;
    // The keys of every line, escaped once.
    std::vector<std::string> keys;
    for (const auto& field : fields) {
        std::string key;
        appendJsonString(key, field.name);
        keys.push_back(key + ": ");
    }
    std::vector<Value> record;
    std::string text;
    while (reader.next(record)) {
        text += '{';
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i)
                text += ", ";
            text += keys[i];
            appendJsonValue(text, record[i]);
        }
        text += "}\n";
        if (text.size() > (1u << 16)) {
            write(out, text);
            text.clear();
        }
    }
    write(out, text);
    printWarnings(reader, err);
    return 0;
}

int copy(const CommandLine& line, std::FILE* out, std::FILE* err);

} // namespace

int run(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err)
{
    try {
        const CommandLine line = parse(arguments);
        int status = 0;
        if (line.command == "info")
            status = info(line, out);
        else if (line.command == "dump")
            status = dump(line, out, err);
        else
            status = copy(line, out, err);
        if (std::fflush(out) != 0)
            throw IoError("Cannot write the output.");
        return status;
    } catch (const UsageError& error) {
        std::fprintf(err, "pdxtool: %s\n%s", error.message.c_str(), usage);
        return 2;
    } catch (const InvalidTextError& error) {
        // Here the way to read the table in its real code page is an option of this tool.
        std::fprintf(err, "pdxtool: %s Give the code page its text was written in with --code-page N.\n",
                     error.problem().c_str());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(err, "pdxtool: %s\n", error.what());
        return 1;
    }
}

namespace {

// The copy as written: its records and files.
struct WrittenCopy {
    std::uint64_t records = 0;
    std::filesystem::path table;
    std::filesystem::path blobs; // empty when the table has no .MB
};

WrittenCopy writeCopy(TableReader& reader, const CommandLine& line, const std::string& tableName,
                      const WriterOptions& options)
{
    TableWriter writer(line.operands[1], tableName, reader.header().fields, options);
    std::vector<Value> record;
    while (reader.next(record))
        writer.append(record);
    // The writer forgets its count once the table is complete.
    WrittenCopy copy{writer.recordCount(), writer.tablePath(), {}};
    writer.commit();
    if (writer.hasBlobFile())
        copy.blobs = writer.blobPath();
    return copy;
}

int copy(const CommandLine& line, std::FILE* out, std::FILE* err)
{
    const std::filesystem::path source = line.operands[0];
    auto reader = openTable(line);
    const TableHeader& header = reader.header();

    WriterOptions options;
    if (line.targetCodePage != 0)
        options.codePage = line.targetCodePage;
    else if (languageDriverForCodePage(header.textCodePage))
        options.codePage = header.textCodePage;
    else
        options.codePage = 1252; // text goes through UTF-8; what 1252 cannot hold fails clearly
    options.expectedRecords = reader.countRecords();
    options.autoIncrementCounter = header.fileVersion >= 10 ? header.autoIncrementValue : 0;
    const std::string extension = source.extension().string();
    options.lowerCaseExtensions = extension == ".db";
    const std::string tableName = source.stem().string();

    // A keyed source is copied keyed where the copy's code page allows it. Its records
    // already come in key order, so they go on in the order read (docs/paradox-format.md §9.4).
    std::string unkeyed;
    if (header.keyFieldCount > 0) {
        try {
            checkKeyDefinition(header.fields, header.keyFieldCount, options.codePage);
            options.keyFieldCount = header.keyFieldCount;
        } catch (const DefinitionError& error) {
            unkeyed = "note: the copy has no primary key (the source has " + std::to_string(header.keyFieldCount)
                + " key field" + (header.keyFieldCount == 1 ? "" : "s") + "): " + error.what();
        }
    }
    WrittenCopy written;
    try {
        written = writeCopy(reader, line, tableName, options);
    } catch (const KeyOrderError& error) {
        // A damaged table, whose records are not in the order of its key: the writer has
        // removed what it wrote, and the copy starts again without the key.
        unkeyed = "warning: the copy has no primary key, because the records of the source are not in key order: "
            + std::string(error.what());
        options.keyFieldCount = 0;
        reader = openTable(line);
        written = writeCopy(reader, line, tableName, options);
    }
    printWarnings(reader, err);
    if (!unkeyed.empty())
        std::fprintf(err, "pdxtool: %s\n", unkeyed.c_str());
    std::string text = "Wrote " + std::to_string(written.records) + " records to '" + written.table.string() + "'";
    if (!written.blobs.empty())
        text += " and '" + written.blobs.string() + "'";
    text += " (Paradox 5.x, code page " + std::to_string(options.codePage) + ").\n";
    write(out, text);
    return 0;
}

} // namespace

} // namespace quintabel::pdxtool
