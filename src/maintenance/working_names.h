#pragma once
// The names Quintabel gives its own working files and folders inside a Paradox folder. All
// begin with ".quintabel-", so they are hidden, never listed as tables, and recognisable by
// the recovery that clears them away after an interrupted run (docs/crash-safety.md).
//
//     .quintabel-journal-<id>        the journal of one replacement
//     .quintabel-journal-<id>.new    the journal being rewritten (renamed over it when whole)
//     .quintabel-replacing-<id>/     the new table, written whole before it moves in
//     .quintabel-old-<id>/           the old table, set aside until the new one is in place
//     .quintabel-<table>-<x>.db-tmp  a table the table writer has not finished (.mb-tmp, .px-tmp too)

#include "paradoxfile/table_search.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quintabel {

inline constexpr std::string_view kWorkingNamePrefix = paradox::workingNamePrefix;
// The staging folder of one replacement: this prefix, then its id.
inline constexpr std::string_view kStagingPrefix = ".quintabel-replacing-";

// Whether a file or folder name is one of Quintabel's working names.
bool isWorkingName(std::string_view name);

// The working files of one replacement, all directly in the Paradox folder.
struct JournalPaths {
    std::filesystem::path folder;
    std::string id; // the letters that tie the journal, the new and the old table together

    std::filesystem::path journal() const;
    std::filesystem::path journalDraft() const;
    std::filesystem::path staging() const;
    std::filesystem::path aside() const;
};

// What a working name in the Paradox folder is, with the replacement's id where it has one.
enum class WorkingKind { None, Journal, JournalDraft, Staging, Aside, UnfinishedTable };
struct WorkingName {
    WorkingKind kind = WorkingKind::None;
    std::string id;
};
WorkingName classifyWorkingName(std::string_view name, bool isFolder);

} // namespace quintabel
