#include "drivers/scratch/paradox_write_out.h"

#include "base/expected_problem.h"
#include "drivers/database_error.h"
#include "drivers/scratch/paradox_column_choice.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/key_order.h"
#include "paradoxfile/table_writer.h"

#include <filesystem>
#include <system_error>

namespace quintabel::db::scratch {

namespace fs = std::filesystem;
namespace px = quintabel::paradox;

namespace {

void requirePlainTableName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        throw DatabaseError("'" + name + ".db' cannot be the name of a Paradox table file.");
}

} // namespace

void writeOutToParadox(ScratchTables& tables, const WriteOutToParadox& writeOut)
{
    const ScratchTable table = tables.requireComplete(writeOut.sourceTable);
    requirePlainTableName(writeOut.paradoxTable);
    std::error_code error;
    if (!fs::is_directory(writeOut.folder, error))
        throw DatabaseError("The Paradox folder '" + writeOut.folder + "' does not exist.");
    const std::string failure = "Cannot write the scratch table '" + table.name
        + "' as the Paradox table '" + writeOut.paradoxTable + "' in '" + writeOut.folder + "': ";

    std::vector<px::Field> fields;
    std::uint64_t rowCount = 0;
    if (auto handed = tables.handedFields(table)) {
        fields = std::move(handed->fields);
        rowCount = handed->rows;
    } else {
        // A first pass: what every column's values need.
        std::vector<ColumnChoice> choices;
        for (const ColumnDefinition& column : table.columns)
            choices.emplace_back(column);
        try {
            tables.forEachRow(table, [&](std::size_t row, const std::vector<Value>& values) {
                for (std::size_t i = 0; i < choices.size(); ++i)
                    choices[i].observe(row, values.at(i));
                ++rowCount;
            });
        } catch (const DatabaseError& problem) {
            throw DatabaseError(failure + problem.description() + ".");
        }
        for (const ColumnChoice& choice : choices)
            fields.push_back(choice.chooseField());
    }

    px::WriterOptions options;
    options.codePage = writeOut.codePage != 0 ? writeOut.codePage : kDefaultParadoxCodePage;
    options.expectedRecords = rowCount;
    options.lowerCaseExtensions = writeOut.lowerCaseExtension;
    options.tableFileName = writeOut.paradoxTable + (writeOut.lowerCaseExtension ? ".db" : ".DB");
    options.keyFieldCount = writeOut.keyFields;
    const std::string keyNotKept = "The key of '" + writeOut.paradoxTable + "' cannot be kept in Paradox: ";
    if (writeOut.keyFields > 0) {
        try {
            px::checkKeyDefinition(fields, writeOut.keyFields, options.codePage);
        } catch (const px::DefinitionError& problem) {
            throw DatabaseError(keyNotKept + problem.what(), kKeyNotKept);
        }
    }

    // The rows, written under a temporary name and put in place only when all are in; any
    // failure leaves the folder as it was. A keyed table goes in the order the rows were
    // given when that is its key order (rows read in key order, as most are), else sorted.
    const auto write = [&](bool sortByKey) {
        px::TableWriter writer(writeOut.folder, writeOut.paradoxTable, fields, options);
        std::vector<px::Value> record(fields.size());
        const auto toRecord = [&](const std::vector<Value>& values, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i)
                record[i] = toParadoxValue(writer.fields()[i], values[i]);
        };
        const auto append = [&](std::size_t, const std::vector<Value>& values) {
            toRecord(values, fields.size());
            writer.append(record);
        };
        if (sortByKey) {
            const std::vector<px::Field> keyFields(fields.begin(), fields.begin() + writeOut.keyFields);
            px::KeyEncoder keys(keyFields, options.codePage);
            tables.forEachRowByKey(
                table,
                [&](const std::vector<Value>& values) {
                    toRecord(values, keyFields.size());
                    return keys.encode(std::span<const px::Value>(record.data(), keyFields.size()));
                },
                append);
        } else {
            tables.forEachRow(table, append);
        }
        writer.commit();
    };
    const auto sameKey = [&](std::uint64_t first, std::uint64_t second) {
        return DatabaseError(keyNotKept + "its rows " + std::to_string(first) + " and " + std::to_string(second)
                                 + " have the same key in Paradox's terms, and a keyed Paradox table holds each key once.",
                             kKeyNotKept);
    };
    try {
        try {
            write(false);
        } catch (const px::KeyOrderError& problem) {
            if (problem.duplicate())
                throw sameKey(problem.row() - 1, problem.row());
            write(true);
        }
    } catch (const DuplicateKeyError& problem) {
        throw sameKey(problem.firstRow(), problem.secondRow());
    } catch (const px::DiskFullError& problem) {
        throw Expected<DatabaseError>(failure + problem.what() + " The disk is full: make room on it, then try again.");
    } catch (const px::Error& problem) {
        throw DatabaseError(failure + problem.what());
    }
}

} // namespace quintabel::db::scratch
