// Paradox read and write speed, ours against pxlib, in one run.
//
//   paradox_bench [--rows N] [--dir FOLDER]
//
// Writes N records (default 1 000 000) of mixed field types - Alpha, Long, Number, Date,
// Timestamp, Logical, Memo - with our writer and with pxlib, then reads our table with our
// reader and with pxlib, and the same table at a tenth of the rows with ours, to show that
// reading memory stays flat, and a password-protected twin of our table with ours, to show
// what unscrambling costs. Every phase runs in a child process (this program again), so the
// peak resident memory reported for it (getrusage of that child) is its own. Rows/s count
// whole records with every value decoded: text to UTF-8 on both sides, memos read whole.
extern "C" {
#include <paradox.h>
}

#include "paradoxfile/detail/scrambling.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_writer.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace quintabel::paradox;

namespace {

constexpr int alphaSize = 30;
constexpr int memoSize = 20; // a 10-byte leader

// The same records for both writers, a pure function of the row number, in the form a
// database client would hand them over: text in UTF-8, dates as year, month, day.
struct Row {
    std::string name; // "é" is one byte in code page 1252
    std::int32_t amount = 0;
    double ratio = 0;
    Date day;
    Timestamp when;
    bool done = false;
    std::string memo;
};

void makeRow(std::uint64_t i, Row& row)
{
    row.name = "Customer " + std::to_string(i) + " é";
    row.amount = static_cast<std::int32_t>(static_cast<std::int64_t>(i * 7919 % 2000000000) - 1000000000);
    row.ratio = static_cast<double>(i) * 0.37;
    row.day = {1950 + static_cast<int>(i % 70), 1 + static_cast<int>(i % 12), 1 + static_cast<int>(i % 28)};
    row.when = {{1990 + static_cast<int>(i % 30), 1 + static_cast<int>(i / 7 % 12), 1 + static_cast<int>(i / 3 % 28)},
                {static_cast<int>(i % 24), static_cast<int>(i % 60), static_cast<int>(i / 60 % 60), 0}};
    row.done = i % 2 == 0;
    const std::size_t length = 5 + i % 120; // most longer than the leader: they go to the .MB
    row.memo.assign(length, static_cast<char>('a' + i % 26));
    std::memcpy(row.memo.data(), "note", 4);
}

const std::vector<Field> benchFields = {
    {"Name", FieldType::Alpha, alphaSize}, {"Amount", FieldType::Long, 0},    {"Ratio", FieldType::Number, 0},
    {"Day", FieldType::Date, 0},           {"When", FieldType::Timestamp, 0}, {"Done", FieldType::Logical, 0},
    {"Notes", FieldType::Memo, memoSize},
};

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// --- the phases, each in its own process; each prints "<seconds> <records>" -------------

void writeOurs(const fs::path& dir, const std::string& name, std::uint64_t rows)
{
    const auto start = Clock::now();
    WriterOptions options;
    options.expectedRecords = rows;
    TableWriter writer(dir, name, benchFields, options);
    Row row;
    std::vector<Value> values(benchFields.size());
    for (std::uint64_t i = 1; i <= rows; ++i) {
        makeRow(i, row);
        values[0] = row.name;
        values[1] = std::int64_t{row.amount};
        values[2] = row.ratio;
        values[3] = row.day;
        values[4] = row.when;
        values[5] = row.done;
        values[6] = row.memo;
        writer.append(values);
    }
    writer.commit();
    std::printf("%.6f %" PRIu64 "\n", secondsSince(start), rows);
}

void readOurs(const fs::path& db)
{
    const auto start = Clock::now();
    auto reader = TableReader::open(db);
    std::vector<Value> values;
    std::uint64_t count = 0;
    std::uint64_t checksum = 0;
    while (reader.next(values)) {
        ++count;
        checksum += std::get<std::string>(values[6]).size(); // touch the memo so nothing is skipped
    }
    std::printf("%.6f %" PRIu64 "\n", secondsSince(start), count);
    std::fprintf(stderr, "read ours: memo bytes %" PRIu64 "\n", checksum);
}

std::vector<std::uint8_t> contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Makes LOCKED.DB/.MB, OURS protected as Paradox would protect it. Not part of any timing.
void protectOurs(const fs::path& dir, std::uint64_t rows)
{
    auto table = contentOf(dir / "OURS.DB");
    auto blobs = contentOf(dir / "OURS.MB");
    if (!detail::protectTableBytes(table, blobs, 0x0A25E09Au)) {
        std::fprintf(stderr, "could not protect %s\n", (dir / "OURS.DB").c_str());
        std::exit(1);
    }
    writeBytes(dir / "LOCKED.DB", table);
    writeBytes(dir / "LOCKED.MB", blobs);
    std::printf("0 %" PRIu64 "\n", rows);
}

long pxlibDay(const Date& date)
{
    // pxlib's own conversion, as its PX_make_date does it: days since 0001-01-01, plus one.
    return PX_GregorianToSdn(date.year, date.month, date.day) - 1721425;
}

void quietErrors(pxdoc_t*, int, const char* message, void*)
{
    static int shown = 0;
    if (shown++ < 5)
        std::fprintf(stderr, "pxlib: %s\n", message);
}

void writePxlib(const fs::path& dir, std::uint64_t rows)
{
    const auto start = Clock::now();
    pxdoc_t* doc = PX_new2(quietErrors, nullptr, nullptr, nullptr);
    // pxlib takes the field array and the names over and frees them itself.
    auto* fields = static_cast<pxfield_t*>(std::calloc(benchFields.size(), sizeof(pxfield_t)));
    const char* names[] = {"Name", "Amount", "Ratio", "Day", "When", "Done", "Notes"};
    for (std::size_t i = 0; i < benchFields.size(); ++i) {
        fields[i].px_fname = strdup(names[i]);
        fields[i].px_ftype = static_cast<char>(benchFields[i].type);
        fields[i].px_flen = benchFields[i].type == FieldType::Alpha  ? alphaSize
            : benchFields[i].type == FieldType::Memo                 ? memoSize
            : benchFields[i].type == FieldType::Logical              ? 1
            : benchFields[i].type == FieldType::Long || benchFields[i].type == FieldType::Date ? 4
                                                                     : 8;
        fields[i].px_fdc = 0;
    }
    const std::string db = (dir / "PXLIB.DB").string();
    const std::string mb = (dir / "PXLIB.MB").string();
    if (PX_create_file(doc, fields, static_cast<int>(benchFields.size()), db.c_str(), pxfFileTypNonIndexDB) < 0) {
        std::fprintf(stderr, "pxlib could not create %s\n", db.c_str());
        std::exit(1);
    }
    PX_set_parameter(doc, "tablename", "PXLIB.DB");
    PX_set_inputencoding(doc, "UTF-8");
    PX_set_value(doc, "codepage", 1252);
    PX_set_targetencoding(doc, "CP1252");
    if (PX_set_blob_file(doc, mb.c_str()) < 0) {
        std::fprintf(stderr, "pxlib could not create %s\n", mb.c_str());
        std::exit(1);
    }
    std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
    Row row;
    for (std::uint64_t i = 1; i <= rows; ++i) {
        makeRow(i, row);
        std::memset(record.data(), 0, record.size());
        char* p = record.data();
        PX_put_data_alpha(doc, p, alphaSize, row.name.data());
        p += alphaSize;
        PX_put_data_long(doc, p, 4, row.amount);
        p += 4;
        PX_put_data_double(doc, p, 8, row.ratio);
        p += 8;
        PX_put_data_long(doc, p, 4, static_cast<int>(pxlibDay(row.day)));
        p += 4;
        const double ms = static_cast<double>(pxlibDay(row.when.date)) * 86400000.0
            + ((row.when.time.hour * 60 + row.when.time.minute) * 60 + row.when.time.second) * 1000.0;
        PX_put_data_double(doc, p, 8, ms);
        p += 8;
        PX_put_data_byte(doc, p, 1, row.done ? 1 : 0);
        p += 1;
        PX_put_data_blob(doc, p, memoSize, row.memo.data(), static_cast<int>(row.memo.size()));
        if (PX_put_record(doc, record.data()) < 0) {
            std::fprintf(stderr, "pxlib could not write record %" PRIu64 "\n", i);
            std::exit(1);
        }
    }
    PX_close(doc);
    PX_delete(doc);
    std::printf("%.6f %" PRIu64 "\n", secondsSince(start), rows);
}

void readPxlib(const fs::path& db, const fs::path& mb)
{
    const auto start = Clock::now();
    pxdoc_t* doc = PX_new2(quietErrors, nullptr, nullptr, nullptr);
    if (PX_open_file(doc, db.c_str()) < 0) {
        std::fprintf(stderr, "pxlib could not open %s\n", db.c_str());
        std::exit(1);
    }
    PX_set_targetencoding(doc, "UTF-8");
    if (PX_set_blob_file(doc, mb.c_str()) < 0) {
        std::fprintf(stderr, "pxlib could not open %s\n", mb.c_str());
        std::exit(1);
    }
    const int count = PX_get_num_records(doc);
    const int fieldCount = PX_get_num_fields(doc);
    pxfield_t* fields = PX_get_fields(doc);
    std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
    std::uint64_t checksum = 0;
    std::uint64_t read = 0;
    for (int r = 0; r < count; ++r) {
        // pxlib's lean path (as its pxview tool reads): one record, then field by field.
        if (!PX_get_record(doc, r, record.data()))
            continue;
        ++read;
        char* p = record.data();
        for (int f = 0; f < fieldCount; ++f) {
            switch (fields[f].px_ftype) {
            case pxfAlpha: {
                char* text = nullptr;
                if (PX_get_data_alpha(doc, p, fields[f].px_flen, &text) > 0 && text)
                    doc->free(doc, text);
                break;
            }
            case pxfLong:
            case pxfDate: {
                long value = 0;
                PX_get_data_long(doc, p, fields[f].px_flen, &value);
                break;
            }
            case pxfNumber:
            case pxfTimestamp: {
                double value = 0;
                PX_get_data_double(doc, p, fields[f].px_flen, &value);
                break;
            }
            case pxfLogical: {
                char value = 0;
                PX_get_data_byte(doc, p, fields[f].px_flen, &value);
                break;
            }
            case pxfMemoBLOb: {
                char* blob = nullptr;
                int modification = 0;
                int size = 0;
                if (PX_get_data_blob(doc, p, fields[f].px_flen, &modification, &size, &blob) > 0 && blob) {
                    checksum += static_cast<std::uint64_t>(size);
                    doc->free(doc, blob);
                }
                break;
            }
            default:
                break;
            }
            p += fields[f].px_flen;
        }
    }
    PX_close(doc);
    PX_delete(doc);
    std::printf("%.6f %" PRIu64 "\n", secondsSince(start), read);
    std::fprintf(stderr, "read pxlib: memo bytes %" PRIu64 "\n", checksum);
}

int runPhase(int argc, char** argv)
{
    const std::string phase = argv[2];
    const fs::path dir = argv[3];
    const std::uint64_t rows = std::strtoull(argv[4], nullptr, 10);
    if (phase == "write-ours")
        writeOurs(dir, argc > 5 ? argv[5] : "OURS", rows);
    else if (phase == "write-pxlib")
        writePxlib(dir, rows);
    else if (phase == "read-ours")
        readOurs(dir / (std::string(argc > 5 ? argv[5] : "OURS") + ".DB"));
    else if (phase == "protect")
        protectOurs(dir, rows);
    else if (phase == "read-pxlib")
        readPxlib(dir / "OURS.DB", dir / "pxlib-copy-of-OURS.MB");
    else
        return 2;
    return 0;
}

// --- the driver --------------------------------------------------------------------------

struct Result {
    double seconds = 0;
    std::uint64_t records = 0;
    long peakKb = 0;
    double cpuSeconds = 0; // user and system time of the phase's process
};

Result runChild(const std::vector<std::string>& arguments)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        std::exit(1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        std::vector<char*> argv;
        for (const auto& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv("/proc/self/exe", argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    Result result;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || std::sscanf(output.c_str(), "%lf %" SCNu64, &result.seconds, &result.records) != 2) {
        std::fprintf(stderr, "phase %s failed (status %d)\n", arguments[2].c_str(), status);
        std::exit(1);
    }
    result.peakKb = usage.ru_maxrss;
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return result;
}

void report(const char* what, const Result& r)
{
    std::printf("%-34s %10" PRIu64 " rows %9.3f s %12.0f rows/s %9ld KB peak RSS\n", what, r.records, r.seconds,
                static_cast<double>(r.records) / r.seconds, r.peakKb);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::string(argv[1]) == "phase")
        return runPhase(argc, argv);

    std::uint64_t rows = 1'000'000;
    fs::path dir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rows" && i + 1 < argc)
            rows = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else {
            std::fprintf(stderr, "usage: paradox_bench [--rows N] [--dir FOLDER]\n");
            return 2;
        }
    }
    bool ownDir = false;
    if (dir.empty()) {
        std::string pattern = (fs::temp_directory_path() / "paradox-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return 1;
        dir = pattern;
        ownDir = true;
    }
    const std::string self = "paradox_bench";
    const std::string count = std::to_string(rows);
    std::printf("paradox_bench: %" PRIu64 " records of Alpha(30), Long, Number, Date, Timestamp, Logical, Memo(10)"
                " in %s\n", rows, dir.c_str());

    const Result writeOurs = runChild({self, "phase", "write-ours", dir.string(), count});
    const Result writePxlib = runChild({self, "phase", "write-pxlib", dir.string(), count});
    // pxlib 0.6.8 aborts on a .MB whose size is a multiple of 4096 (every .MB we write) but
    // reads one a byte longer: it gets such a copy of our .MB, made before the timing starts.
    fs::copy_file(dir / "OURS.MB", dir / "pxlib-copy-of-OURS.MB", fs::copy_options::overwrite_existing);
    std::ofstream(dir / "pxlib-copy-of-OURS.MB", std::ios::binary | std::ios::app).put('\0');
    const Result readOurs = runChild({self, "phase", "read-ours", dir.string(), count});
    const Result readPxlib = runChild({self, "phase", "read-pxlib", dir.string(), count});
    runChild({self, "phase", "protect", dir.string(), count});
    // Plain and protected reads take turns, five times each, and each keeps its fastest run:
    // on a shared machine the slow runs measure the neighbours, not the reader.
    Result readPlainBest;
    Result readLocked;
    for (int round = 0; round < 5; ++round) {
        const Result plain = runChild({self, "phase", "read-ours", dir.string(), count});
        const Result locked = runChild({self, "phase", "read-ours", dir.string(), count, "LOCKED"});
        if (round == 0 || plain.cpuSeconds < readPlainBest.cpuSeconds)
            readPlainBest = plain;
        if (round == 0 || locked.cpuSeconds < readLocked.cpuSeconds)
            readLocked = locked;
    }
    const std::string smaller = std::to_string(rows / 10);
    runChild({self, "phase", "write-ours", dir.string(), smaller, "SMALL"});
    const Result readSmall = runChild({self, "phase", "read-ours", dir.string(), smaller, "SMALL"});

    report("write, ours (Paradox 5.x)", writeOurs);
    report("write, pxlib 0.6.8 (Paradox 7.x)", writePxlib);
    report("read, ours", readOurs);
    report("read, pxlib 0.6.8", readPxlib);
    report("read, ours, a tenth of the rows", readSmall);
    report("read, ours, password-protected", readLocked);
    std::printf("protected against plain, best of 5 each: %.3f s against %.3f s of processor time, %.2f times\n",
                readLocked.cpuSeconds, readPlainBest.cpuSeconds, readLocked.cpuSeconds / readPlainBest.cpuSeconds);
    std::printf("ratio ours/pxlib: write %.2f, read %.2f\n",
                (static_cast<double>(writeOurs.records) / writeOurs.seconds) / (static_cast<double>(writePxlib.records) / writePxlib.seconds),
                (static_cast<double>(readOurs.records) / readOurs.seconds) / (static_cast<double>(readPxlib.records) / readPxlib.seconds));
    std::printf("files: OURS.DB %ju + OURS.MB %ju bytes, PXLIB.DB %ju + PXLIB.MB %ju bytes\n",
                static_cast<std::uintmax_t>(fs::file_size(dir / "OURS.DB")), static_cast<std::uintmax_t>(fs::file_size(dir / "OURS.MB")),
                static_cast<std::uintmax_t>(fs::file_size(dir / "PXLIB.DB")), static_cast<std::uintmax_t>(fs::file_size(dir / "PXLIB.MB")));
    if (ownDir)
        fs::remove_all(dir);
    return 0;
}
