#include "maintenance/working_names.h"

namespace quintabel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kJournal = ".quintabel-journal-";
constexpr std::string_view kDraftSuffix = ".new";
constexpr std::string_view kAside = ".quintabel-old-";

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The rest of `name` after `prefix`, when it starts with it and the rest is not empty.
std::string idAfter(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix) || name.size() == prefix.size())
        return {};
    return std::string(name.substr(prefix.size()));
}

} // namespace

bool isWorkingName(std::string_view name)
{
    return name.starts_with(kWorkingNamePrefix);
}

fs::path JournalPaths::journal() const
{
    return folder / (std::string(kJournal) + id);
}

fs::path JournalPaths::journalDraft() const
{
    return folder / (std::string(kJournal) + id + std::string(kDraftSuffix));
}

fs::path JournalPaths::staging() const
{
    return folder / (std::string(kStagingPrefix) + id);
}

fs::path JournalPaths::aside() const
{
    return folder / (std::string(kAside) + id);
}

WorkingName classifyWorkingName(std::string_view name, bool isFolder)
{
    if (!isWorkingName(name))
        return {};
    if (isFolder) {
        if (std::string id = idAfter(name, kStagingPrefix); !id.empty())
            return {WorkingKind::Staging, id};
        if (std::string id = idAfter(name, kAside); !id.empty())
            return {WorkingKind::Aside, id};
        return {};
    }
    // The table writer's names end in "-tmp"; a table called "journal-x" must not pass for a
    // journal.
    if (endsWith(name, ".db-tmp") || endsWith(name, ".mb-tmp") || endsWith(name, ".px-tmp"))
        return {WorkingKind::UnfinishedTable, {}};
    if (std::string id = idAfter(name, kJournal); !id.empty()) {
        if (endsWith(id, kDraftSuffix)) {
            id.resize(id.size() - kDraftSuffix.size());
            return id.empty() ? WorkingName{} : WorkingName{WorkingKind::JournalDraft, id};
        }
        return {WorkingKind::Journal, id};
    }
    return {};
}

} // namespace quintabel
