#include "support/pxlib_oracle.h"

extern "C" {
#include <paradox.h>
}

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace quintabel::paradox::testing {

namespace {

// The child writes records of this small format: u32 lengths, then bytes.
class Writer {
public:
    explicit Writer(int fd) : fd_(fd) {}
    void bytes(const void* data, std::size_t length)
    {
        const char* p = static_cast<const char*>(data);
        while (length > 0) {
            const ssize_t put = ::write(fd_, p, length);
            if (put <= 0)
                ::_exit(3);
            p += put;
            length -= static_cast<std::size_t>(put);
        }
    }
    void u32(std::uint32_t v) { bytes(&v, sizeof v); }
    void i64(std::int64_t v) { bytes(&v, sizeof v); }
    void f64(double v) { bytes(&v, sizeof v); }
    void text(const char* data, std::size_t length)
    {
        u32(static_cast<std::uint32_t>(length));
        bytes(data, length);
    }

private:
    int fd_;
};

class Reader {
public:
    explicit Reader(std::string data) : data_(std::move(data)) {}
    bool ok() const { return ok_; }
    void bytes(void* out, std::size_t length)
    {
        if (!ok_ || data_.size() - pos_ < length) {
            ok_ = false;
            std::memset(out, 0, length);
            return;
        }
        std::memcpy(out, data_.data() + pos_, length);
        pos_ += length;
    }
    std::uint32_t u32()
    {
        std::uint32_t v = 0;
        bytes(&v, sizeof v);
        return v;
    }
    std::int64_t i64()
    {
        std::int64_t v = 0;
        bytes(&v, sizeof v);
        return v;
    }
    double f64()
    {
        double v = 0;
        bytes(&v, sizeof v);
        return v;
    }
    std::string text()
    {
        const std::uint32_t length = u32();
        if (!ok_ || data_.size() - pos_ < length) {
            ok_ = false;
            return {};
        }
        std::string s = data_.substr(pos_, length);
        pos_ += length;
        return s;
    }
    bool atEnd() const { return pos_ >= data_.size(); }

private:
    std::string data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

std::string childErrors;

void collectError(pxdoc_t*, int, const char* message, void*)
{
    childErrors += message;
    childErrors += '\n';
}

// The pxlib types whose values come as bytes (value.str); the rest are numbers.
enum class Carried { Bytes, Double, Long };

Carried carriedAs(long type)
{
    switch (type) {
    case pxfAlpha:
    case pxfBCD:
    case pxfBytes:
    case pxfMemoBLOb:
    case pxfBLOb:
    case pxfFmtMemoBLOb:
    case pxfOLE:
    case pxfGraphic:
        return Carried::Bytes;
    case pxfNumber:
    case pxfCurrency:
    case pxfTimestamp:
        return Carried::Double;
    default:
        return Carried::Long;
    }
}

enum Tag : std::uint32_t { TagHeader = 1, TagField = 2, TagRecord = 3, TagMissing = 4, TagErrors = 5, TagEnd = 6 };

[[noreturn]] void runChild(const std::filesystem::path& dbFile, const PxlibOptions& options, int fd)
{
    Writer out(fd);
    pxdoc_t* doc = PX_new2(collectError, nullptr, nullptr, nullptr);
    if (!doc || PX_open_file(doc, dbFile.c_str()) < 0) {
        out.u32(TagErrors);
        out.text(childErrors.data(), childErrors.size());
        out.u32(TagEnd);
        ::_exit(0);
    }
    if (!options.targetEncoding.empty())
        PX_set_targetencoding(doc, options.targetEncoding.c_str());
    if (options.blobFile)
        PX_set_blob_file(doc, options.blobFile->c_str());
    pxhead_t* head = doc->px_head;
    out.u32(TagHeader);
    out.i64(head->px_fileversion);
    out.i64(head->px_doscodepage);
    out.i64(head->px_numrecords);
    out.i64(head->px_primarykeyfields);
    out.i64(head->px_recordsize);
    const char* tableName = head->px_tablename ? head->px_tablename : "";
    out.text(tableName, std::strlen(tableName));
    const int fieldCount = PX_get_num_fields(doc);
    pxfield_t* fields = PX_get_fields(doc);
    for (int i = 0; i < fieldCount; ++i) {
        out.u32(TagField);
        const char* name = fields[i].px_fname ? fields[i].px_fname : "";
        out.text(name, std::strlen(name));
        out.i64(fields[i].px_ftype);
        out.i64(fields[i].px_flen);
        out.i64(fields[i].px_fdc);
    }
    for (int r = 0; r < head->px_numrecords; ++r) {
        pxval_t** values = PX_retrieve_record(doc, r);
        if (!values) {
            out.u32(TagMissing);
            continue;
        }
        out.u32(TagRecord);
        for (int i = 0; i < fieldCount; ++i) {
            pxval_t* v = values[i];
            out.i64(v->isnull);
            out.i64(v->type);
            switch (carriedAs(v->type)) {
            case Carried::Bytes:
                if (!v->isnull && v->value.str.val)
                    out.text(v->value.str.val, static_cast<std::size_t>(v->value.str.len));
                else
                    out.text("", 0);
                break;
            case Carried::Double:
                out.f64(v->value.dval);
                break;
            case Carried::Long:
                out.i64(v->value.lval);
            }
        }
    }
    out.u32(TagErrors);
    out.text(childErrors.data(), childErrors.size());
    out.u32(TagEnd);
    ::_exit(0);
}

// Runs `child` in a forked process that writes to the pipe it is given, and collects what it
// wrote; `exited` is false when the child died instead of ending.
template <typename Child>
std::string runForked(Child child, bool& exited)
{
    int fds[2];
    if (::pipe(fds) != 0)
        std::abort();
    const pid_t pid = ::fork();
    if (pid < 0)
        std::abort();
    if (pid == 0) {
        ::close(fds[0]);
        // pxlib's warnings go to stderr; keep the test log quiet.
        if (FILE* devnull = std::fopen("/dev/null", "w"))
            ::dup2(::fileno(devnull), STDERR_FILENO);
        child(fds[1]);
    }
    ::close(fds[1]);
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return data;
}

} // namespace

PxlibTable readWithPxlib(const std::filesystem::path& dbFile, const PxlibOptions& options)
{
    PxlibTable table;
    bool exited = false;
    std::string data = runForked([&](int fd) { runChild(dbFile, options, fd); }, exited);
    table.crashed = !exited;

    Reader in(std::move(data));
    bool ended = false;
    while (in.ok() && !in.atEnd()) {
        const std::uint32_t tag = in.u32();
        if (tag == TagHeader) {
            table.opened = true;
            table.fileVersion = static_cast<int>(in.i64());
            table.codePage = static_cast<int>(in.i64());
            table.numRecords = static_cast<int>(in.i64());
            table.keyFields = static_cast<int>(in.i64());
            table.recordSize = static_cast<int>(in.i64());
            table.tableName = in.text();
        } else if (tag == TagField) {
            PxlibField field;
            field.name = in.text();
            field.type = static_cast<char>(in.i64());
            field.size = static_cast<int>(in.i64());
            field.decimals = static_cast<int>(in.i64());
            table.fields.push_back(field);
        } else if (tag == TagRecord) {
            std::vector<PxlibValue> record;
            for (std::size_t i = 0; i < table.fields.size(); ++i) {
                PxlibValue value;
                value.isNull = in.i64() != 0;
                const auto type = in.i64();
                switch (carriedAs(static_cast<long>(type))) {
                case Carried::Bytes:
                    value.bytes = in.text();
                    break;
                case Carried::Double:
                    value.number = in.f64();
                    break;
                case Carried::Long:
                    value.integer = static_cast<long>(in.i64());
                }
                record.push_back(std::move(value));
            }
            table.records.push_back(std::move(record));
            table.recordRead.push_back(true);
        } else if (tag == TagMissing) {
            table.records.emplace_back(table.fields.size());
            table.recordRead.push_back(false);
        } else if (tag == TagErrors) {
            table.errors = in.text();
        } else if (tag == TagEnd) {
            ended = true;
            break;
        } else {
            break;
        }
    }
    if (!ended)
        table.crashed = true;
    return table;
}

PxlibPrimaryIndex readPrimaryIndexWithPxlib(const std::filesystem::path& pxFile, const std::filesystem::path& dbFile)
{
    PxlibPrimaryIndex index;
    bool exited = false;
    std::string data = runForked(
        [&](int fd) {
            Writer out(fd);
            pxdoc_t* px = PX_new2(collectError, nullptr, nullptr, nullptr);
            const bool read = px && PX_open_file(px, pxFile.c_str()) >= 0 && PX_read_primary_index(px) >= 0;
            out.i64(read);
            out.i64(read ? px->px_head->px_numindexlevels : 0);
            const int count = read ? px->px_head->px_numrecords : 0;
            out.i64(count);
            const auto* entries = read ? static_cast<const pxpindex_t*>(px->px_data) : nullptr;
            const auto keySize = read ? static_cast<std::size_t>(px->px_head->px_recordsize - 6) : 0;
            for (int i = 0; i < count; ++i) {
                out.text(entries[i].data, keySize);
                out.i64(entries[i].blocknumber);
                out.i64(entries[i].numrecords);
                out.i64(entries[i].level);
            }
            pxdoc_t* db = PX_new2(collectError, nullptr, nullptr, nullptr);
            out.i64(read && db && PX_open_file(db, dbFile.c_str()) >= 0 && PX_add_primary_index(db, px) == 0);
            out.text(childErrors.data(), childErrors.size());
            ::_exit(0);
        },
        exited);
    Reader in(std::move(data));
    index.read = in.i64() != 0;
    index.levels = static_cast<int>(in.i64());
    const auto count = in.i64();
    for (std::int64_t i = 0; i < count && in.ok(); ++i) {
        PxlibIndexEntry entry;
        entry.key = in.text();
        entry.block = static_cast<int>(in.i64());
        entry.records = static_cast<int>(in.i64());
        entry.level = static_cast<int>(in.i64());
        index.entries.push_back(entry);
    }
    index.acceptedByTable = in.i64() != 0;
    index.errors = in.text();
    index.crashed = !exited || !in.ok();
    return index;
}

} // namespace quintabel::paradox::testing
