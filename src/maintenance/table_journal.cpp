#include "maintenance/table_journal.h"

#include "base/expected_problem.h"
#include "base/kill_points.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace quintabel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFirstLine = "Quintabel replacement journal 1";
constexpr std::string_view kLastLine = "end";

constexpr std::array<std::pair<JournalStep, std::string_view>, 6> kStepNames{{
    {JournalStep::WritingNew, "writing-new"},
    {JournalStep::NewComplete, "new-complete"},
    {JournalStep::OldSetAside, "old-set-aside"},
    {JournalStep::NewMovedIn, "new-moved-in"},
    {JournalStep::Renaming, "renaming"},
    {JournalStep::Deleting, "deleting"},
}};

std::string_view stepName(JournalStep step)
{
    for (const auto& [value, name] : kStepNames)
        if (value == step)
            return name;
    return "?";
}

JournalStep stepNamed(std::string_view name)
{
    for (const auto& [value, text] : kStepNames)
        if (text == name)
            return value;
    throw JournalError("unknown step '" + std::string(name) + "'");
}

// A name may hold any byte but "/" and NUL; spaces, "%" and control characters are written as
// %XX so that every name stays one word on its line.
std::string escaped(std::string_view name)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '%') {
            text += '%';
            text += hex[byte >> 4];
            text += hex[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string unescaped(std::string_view text)
{
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            throw JournalError("bad escape in name '" + std::string(text) + "'");
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (name.empty())
        throw JournalError("empty name");
    return name;
}

template <typename Number>
Number numberFrom(const std::string& word)
{
    Number value{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        throw JournalError("bad number '" + word + "'");
    return value;
}

// A file or table name of the journal is one name in its folder, never a path.
std::string plainName(std::string name)
{
    if (name == "." || name == ".." || name.find('/') != std::string::npos)
        throw JournalError("'" + name + "' is not a file name");
    return name;
}

// A journal names folders below the Paradox folder only: whatever its text says, the recovery
// must never be led to move or delete files elsewhere.
fs::path folderBelow(const std::string& text)
{
    const fs::path folder(text);
    if (folder.is_absolute())
        throw JournalError("folder '" + text + "' is not below the Paradox folder");
    for (const fs::path& part : folder)
        if (part == ".." || part == "." || part.empty())
            throw JournalError("folder '" + text + "' is not below the Paradox folder");
    return folder;
}

// A journal that cannot be written: a full disk is the user's to put right, and says so.
[[noreturn]] void cannotWrite(const fs::path& path, int error)
{
    const std::string message = "Cannot write '" + path.string() + "': " + std::strerror(error) + ".";
    if (error == ENOSPC || error == EDQUOT)
        throw Expected<std::runtime_error>(message + " The disk is full: make room on it, then try again.");
    throw std::runtime_error(message);
}

void writeWholeFile(const fs::path& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        cannotWrite(path, errno);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = errno;
            ::close(fd);
            cannotWrite(path, error);
        }
        done += static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        cannotWrite(path, error);
    }
    ::close(fd);
}

} // namespace

std::string formatJournal(const TableJournal& journal)
{
    std::ostringstream text;
    text << kFirstLine << '\n';
    text << "table " << escaped(journal.table) << '\n';
    text << "step " << stepName(journal.step) << '\n';
    if (!journal.newName.empty())
        text << "new-name " << escaped(journal.newName) << '\n';
    if (!journal.tableFolder.empty())
        text << "folder " << escaped(journal.tableFolder.string()) << '\n';
    const auto writeFiles = [&](std::string_view role, const std::vector<RecordedFile>& files) {
        for (const RecordedFile& file : files)
            text << role << ' ' << file.identity.device << ' ' << file.identity.inode << ' ' << file.identity.size
                 << ' ' << file.identity.modifiedNanoseconds << ' ' << escaped(file.name) << '\n';
    };
    writeFiles("old", journal.oldFamily);
    writeFiles("new", journal.newFamily);
    // A journal cut short (a file system that lost the tail despite the fsync) lacks this line.
    text << kLastLine << '\n';
    return text.str();
}

TableJournal parseJournal(std::string_view text)
{
    std::istringstream lines{std::string(text)};
    std::string line;
    if (!std::getline(lines, line) || line != kFirstLine)
        throw JournalError("not a replacement journal");
    TableJournal journal;
    bool hasTable = false;
    bool hasStep = false;
    bool ended = false;
    while (std::getline(lines, line)) {
        if (ended)
            throw JournalError("text after the end");
        if (line == kLastLine) {
            ended = true;
            continue;
        }
        std::istringstream words(line);
        std::string key;
        words >> key;
        std::vector<std::string> values;
        for (std::string word; words >> word;)
            values.push_back(word);
        if (key == "table" && values.size() == 1) {
            journal.table = plainName(unescaped(values[0]));
            hasTable = true;
        } else if (key == "step" && values.size() == 1) {
            journal.step = stepNamed(values[0]);
            hasStep = true;
        } else if (key == "new-name" && values.size() == 1) {
            journal.newName = plainName(unescaped(values[0]));
        } else if (key == "folder" && values.size() == 1) {
            journal.tableFolder = folderBelow(unescaped(values[0]));
        } else if ((key == "old" || key == "new") && values.size() == 5) {
            RecordedFile file{plainName(unescaped(values[4])),
                              {numberFrom<std::uint64_t>(values[0]), numberFrom<std::uint64_t>(values[1]),
                               numberFrom<std::uint64_t>(values[2]), numberFrom<std::int64_t>(values[3])}};
            (key == "old" ? journal.oldFamily : journal.newFamily).push_back(std::move(file));
        } else {
            throw JournalError("unreadable line '" + line + "'");
        }
    }
    if (!ended || !hasTable || !hasStep)
        throw JournalError("incomplete journal");
    if ((journal.step == JournalStep::Renaming) != !journal.newName.empty())
        throw JournalError("a new name belongs to a rename, and a rename needs one");
    return journal;
}

void writeJournal(const JournalPaths& paths, const TableJournal& journal)
{
    writeWholeFile(paths.journalDraft(), formatJournal(journal));
    killPoint("journal draft written");
    if (::rename(paths.journalDraft().c_str(), paths.journal().c_str()) != 0)
        throw std::runtime_error("Cannot put the journal '" + paths.journal().string()
                                 + "' in place: " + std::strerror(errno) + ".");
    syncFolder(paths.folder);
    killPoint("journal in place");
}

std::optional<TableJournal> readJournal(const JournalPaths& paths)
{
    std::error_code error;
    if (!fs::exists(paths.journal(), error))
        return std::nullopt;
    std::ifstream in(paths.journal(), std::ios::binary);
    if (!in)
        throw JournalError("cannot open '" + paths.journal().string() + "'");
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return parseJournal(text.str());
    } catch (const JournalError& problem) {
        throw JournalError("'" + paths.journal().string() + "': " + problem.what());
    }
}

} // namespace quintabel
