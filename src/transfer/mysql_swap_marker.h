#pragma once
// The mark that a MySQL table built by a transfer carries until it is settled under its name.
//
// A transfer builds a table under a temporary name and swaps it in when it is complete. A kill
// can stop it anywhere in between, and the next run has to tell the tables it left from the
// user's own, which may well be called `quintabel-new-x`. Names alone cannot do that; the
// table's COMMENT can: the CREATE TABLE statement itself sets it, so no table of ours ever
// exists unmarked, and it is cleared only once the swap is settled. The mark also names the
// table the new copy replaces and where that table goes in the swap, because that old table is
// the user's own and carries no mark of ours.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quintabel {

struct SwapMarker {
    std::string table;                   // the name the new copy takes when it is complete
    std::optional<std::string> oldTable; // where an existing `table` goes in the same swap
    // The server connection of the run that builds the copy. The run holds a named lock of
    // that connection (runLockName) while it lives, so that the recovery of another Quintabel
    // leaves a copy still being built alone.
    std::optional<std::uint64_t> runConnection;
    // The comment the chosen CREATE statement gave the table itself, which the mark stands in
    // for until it comes off, and which the settled table then keeps.
    std::optional<std::string> ownComment = std::nullopt;

    bool operator==(const SwapMarker&) const = default;
};

// "Quintabel: new copy of `ORDERS`, not yet complete", then for a copy that replaces a table
// "; the old table goes to `quintabel-old-ORDERS`", then "; built by connection 42", then for
// a table with a comment of its own "; its own comment: " and that comment to the end. Names
// are quoted as in statements (backticks, any backtick inside doubled), so every name reads
// back exactly.
std::string swapMarkerComment(const SwapMarker& marker);

// The head every marker starts with, for narrowing a search for marked tables.
inline constexpr std::string_view kSwapMarkerHead = "Quintabel: new copy of ";

// The named lock a run holds on the server while it lives: "quintabel-run-42".
std::string runLockName(std::uint64_t runConnection);

// The marker that a table comment holds, or nothing when the comment is not exactly one that
// swapMarkerComment writes (a user's comment, a cut one, one with text after it).
std::optional<SwapMarker> readSwapMarker(std::string_view comment);

} // namespace quintabel
