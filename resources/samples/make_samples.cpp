// Writes the sample Paradox tables into a folder: quintabel_make_samples FOLDER
//
// The build runs it to put "Samples" beside the program. Each sample table is written whole
// into a staging folder first and only then takes the place of the sample table of the same
// name; every other file in FOLDER is left alone.

#include "sample_tables.h"

#include "paradoxfile/errors.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/table_writer.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

namespace fs = std::filesystem;
using namespace quintabel;

namespace {

// The header's last-update time: fixed, so that every build writes the same bytes
// (2024-01-01 00:00:00 UTC).
constexpr std::uint32_t kUpdateTime = 1704067200;

void writeTable(const samples::SampleTable& sample, const fs::path& folder)
{
    paradox::WriterOptions options;
    options.codePage = samples::kSampleCodePage;
    options.updateTime = kUpdateTime;
    options.expectedRecords = sample.records.size();
    paradox::TableWriter writer(folder, sample.name, sample.fields, options);
    for (const auto& record : sample.records)
        writer.append(record);
    writer.commit();
}

// Removes the earlier sample table of this name (its .DB and every companion), in any case.
void removeEarlierTable(const fs::path& folder, const std::string& name)
{
    try {
        const paradox::TableFamily family = paradox::findTableFamily(folder, name);
        for (const fs::path& companion : family.companions)
            fs::remove(companion);
        fs::remove(family.table);
    } catch (const paradox::TableNotFoundError&) {
        // nothing to replace
    }
}

void moveInto(const fs::path& staging, const fs::path& folder, const std::string& name)
{
    for (const char* extension : {".DB", ".MB"}) {
        const fs::path staged = staging / (name + extension);
        if (fs::exists(staged))
            fs::rename(staged, folder / staged.filename());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: quintabel_make_samples FOLDER\n";
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const fs::path staging =
        folder.parent_path() / ("." + folder.filename().string() + ".staging-" + std::to_string(::getpid()));
    try {
        fs::create_directories(folder);
        fs::remove_all(staging);
        fs::create_directories(staging);
        const auto tables = samples::sampleTables();
        for (const auto& table : tables)
            writeTable(table, staging);
        for (const auto& table : tables) {
            removeEarlierTable(folder, table.name);
            moveInto(staging, folder, table.name);
        }
        fs::remove_all(staging);
    } catch (const std::exception& failure) {
        std::cerr << "quintabel_make_samples: " << failure.what() << "\n";
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return 1;
    }
    return 0;
}
