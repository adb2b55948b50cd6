#include "paradoxfile/table_writer.h"

#include "base/no_replace_move.h"
#include "paradoxfile/byte_io.h"
#include "paradoxfile/errors.h"
#include "paradoxfile/key_order.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/table_search.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <optional>
#include <random>
#include <unistd.h>

namespace quintabel::paradox {

namespace fs = std::filesystem;

namespace {

std::string systemError(int error)
{
    return std::strerror(error);
}

// Renames without ever replacing (base/no_replace_move.h).
void renameNoReplace(const fs::path& from, const fs::path& to)
{
    const int error = moveWithoutReplacing(from, to);
    if (error == 0)
        return;
    if (error == EEXIST)
        throw TableExistsError("Cannot put the table in place: '" + to.string()
                               + "' already exists, and Quintabel never replaces a table.");
    throw IoError("Cannot rename '" + from.string() + "' to '" + to.string() + "': " + systemError(error) + ".");
}

void syncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // best effort: the renames are already done
    ::close(fd);
}

std::string randomSuffix()
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string suffix;
    for (int i = 0; i < 8; ++i)
        suffix.push_back(letters[device() % (sizeof letters - 1)]);
    return suffix;
}

} // namespace

struct TableWriter::Impl {
    fs::path folder;
    std::string tableName;
    fs::path tablePath;
    fs::path blobPath;
    fs::path indexPath;
    fs::path tempTable;
    fs::path tempBlobs;
    fs::path tempIndex;
    bool hasBlobs = false;
    bool keyed = false;
    std::unique_ptr<ByteSink> tableSink;
    std::unique_ptr<ByteSink> blobSink;
    std::unique_ptr<ByteSink> indexSink;
    std::unique_ptr<TableEncoder> encoder;
    bool committed = false;
    bool failed = false;
    // Held on the temporary .DB while the table is written: the recovery of another program
    // that finds it removes only a file nobody holds (docs/crash-safety.md).
    int inUseLock = -1;

    void lockTemporaryTable()
    {
        inUseLock = ::open(tempTable.c_str(), O_RDONLY | O_CLOEXEC);
        if (inUseLock >= 0)
            ::flock(inUseLock, LOCK_EX | LOCK_NB); // a file made a moment ago: nobody else holds it
    }

    void releaseTemporaryTable() noexcept
    {
        if (inUseLock >= 0)
            ::close(inUseLock);
        inUseLock = -1;
    }

    // Refuses when any file of the table's name (.DB, .MB or .PX, any letter case) exists: a
    // .PX left there would pass for the new table's index.
    void checkNoTable() const
    {
        for (const char* extension : {".db", ".mb", ".px"}) {
            if (const auto existing = findFileIgnoringCase(folder, tableName + extension))
                throw TableExistsError("Paradox table '" + tableName + "' already exists in folder '" + folder.string()
                                       + "' ('" + existing->filename().string()
                                       + "'); Quintabel never replaces a table.");
        }
    }

    void removeTemporaryFiles() noexcept
    {
        tableSink.reset();
        blobSink.reset();
        indexSink.reset();
        encoder.reset();
        std::error_code ignored;
        if (!tempTable.empty())
            fs::remove(tempTable, ignored);
        releaseTemporaryTable();
        if (!tempBlobs.empty())
            fs::remove(tempBlobs, ignored);
        if (!tempIndex.empty())
            fs::remove(tempIndex, ignored);
    }

    void fail() noexcept
    {
        failed = true;
        removeTemporaryFiles();
    }

    std::unique_ptr<ByteSink> openSink(const fs::path& path, const WriterOptions& options)
    {
        std::unique_ptr<ByteSink> sink = std::make_unique<FileSink>(path);
        if (options.wrapSink)
            sink = options.wrapSink(std::move(sink));
        return sink;
    }
};

TableWriter::TableWriter(const fs::path& folder, const std::string& tableName, std::vector<Field> fields,
                         WriterOptions options)
    : impl_(std::make_unique<Impl>())
{
    Impl& d = *impl_;
    d.folder = folder;
    d.tableName = tableName;
    if (tableName.empty() || tableName == "." || tableName == ".." || tableName.find('/') != std::string::npos
        || tableName.find('\0') != std::string::npos)
        throw DefinitionError("'" + tableName + "' cannot be the name of a table's files.");
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw IoError("Cannot write Paradox table '" + tableName + "': folder '" + folder.string()
                      + "' does not exist.");
    const std::string dbExtension = options.lowerCaseExtensions ? ".db" : ".DB";
    const std::string mbExtension = options.lowerCaseExtensions ? ".mb" : ".MB";
    const std::string pxExtension = options.lowerCaseExtensions ? ".px" : ".PX";
    d.tablePath = folder / (tableName + dbExtension);
    d.blobPath = folder / (tableName + mbExtension);
    d.indexPath = folder / (tableName + pxExtension);
    d.keyed = options.keyFieldCount > 0;
    fields = checkedDefinition(std::move(fields), options.codePage);
    checkKeyDefinition(fields, options.keyFieldCount, options.codePage);
    for (const auto& field : fields)
        d.hasBlobs = d.hasBlobs || isBlobType(field.type);
    d.checkNoTable();

    // Hidden temporary names in the same folder, so the final rename stays on one file system.
    const std::string stem = std::string(workingNamePrefix) + tableName + "-" + randomSuffix();
    d.tempTable = folder / (stem + ".db-tmp");
    d.tempBlobs = d.hasBlobs ? folder / (stem + ".mb-tmp") : fs::path();
    d.tempIndex = d.keyed ? folder / (stem + ".px-tmp") : fs::path();
    try {
        d.tableSink = d.openSink(d.tempTable, options);
        d.lockTemporaryTable();
        if (d.hasBlobs)
            d.blobSink = d.openSink(d.tempBlobs, options);
        if (d.keyed)
            d.indexSink = d.openSink(d.tempIndex, options);
        options.tableFileName = d.tablePath.filename().string();
        d.encoder = std::make_unique<TableEncoder>(std::move(fields), *d.tableSink, d.blobSink.get(), options,
                                                   d.indexSink.get());
    } catch (...) {
        // A sink that failed to open must not remove a file someone else created.
        if (!d.tableSink)
            d.tempTable.clear();
        if (d.hasBlobs && !d.blobSink)
            d.tempBlobs.clear();
        if (d.keyed && !d.indexSink)
            d.tempIndex.clear();
        d.fail();
        throw;
    }
}

TableWriter::~TableWriter()
{
    if (impl_ && !impl_->committed)
        impl_->removeTemporaryFiles();
}

const std::vector<Field>& TableWriter::fields() const
{
    static const std::vector<Field> none;
    return impl_->encoder ? impl_->encoder->fields() : none;
}

void TableWriter::append(std::span<const Value> record)
{
    Impl& d = *impl_;
    if (d.failed || !d.encoder)
        throw Error("Paradox table '" + d.tablePath.string() + "' cannot take more records: its writing failed.");
    if (d.committed)
        throw Error("Paradox table '" + d.tablePath.string() + "' is already complete.");
    try {
        d.encoder->append(record);
    } catch (const ValueError&) {
        throw; // this record is refused; the table is still sound
    } catch (...) {
        d.fail();
        throw;
    }
}

void TableWriter::commit()
{
    Impl& d = *impl_;
    if (d.committed)
        return;
    if (d.failed || !d.encoder)
        throw Error("Paradox table '" + d.tablePath.string() + "' cannot be completed: its writing failed.");
    try {
        d.encoder->finish();
        d.tableSink.reset();
        d.blobSink.reset();
        d.indexSink.reset();
        d.checkNoTable();
        if (d.hasBlobs)
            renameNoReplace(d.tempBlobs, d.blobPath);
        // The files went into place under the table's name a moment ago: they are ours.
        const auto removePlaced = [&](bool table) {
            std::error_code ignored;
            if (table)
                fs::remove(d.tablePath, ignored);
            if (d.hasBlobs)
                fs::remove(d.blobPath, ignored);
        };
        try {
            renameNoReplace(d.tempTable, d.tablePath);
        } catch (...) {
            removePlaced(false);
            throw;
        }
        if (d.keyed) {
            try {
                renameNoReplace(d.tempIndex, d.indexPath);
            } catch (...) {
                // A keyed .DB without its index is no table to leave behind.
                removePlaced(true);
                throw;
            }
        }
    } catch (...) {
        d.fail();
        throw;
    }
    d.committed = true;
    d.releaseTemporaryTable();
    d.encoder.reset();
    syncFolder(d.folder);
}

std::uint64_t TableWriter::recordCount() const
{
    return impl_->encoder ? impl_->encoder->recordCount() : 0;
}

const fs::path& TableWriter::tablePath() const
{
    return impl_->tablePath;
}

const fs::path& TableWriter::blobPath() const
{
    return impl_->blobPath;
}

const fs::path& TableWriter::primaryIndexPath() const
{
    return impl_->indexPath;
}

bool TableWriter::hasBlobFile() const
{
    return impl_->hasBlobs;
}

bool TableWriter::isKeyed() const
{
    return impl_->keyed;
}

} // namespace quintabel::paradox
