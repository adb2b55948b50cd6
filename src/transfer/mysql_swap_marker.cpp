#include "transfer/mysql_swap_marker.h"

#include "transfer/sql_names.h"

#include <algorithm>
#include <charconv>

namespace quintabel {

namespace {

constexpr std::string_view kIncomplete = ", not yet complete";
constexpr std::string_view kOldTableGoesTo = "; the old table goes to ";
constexpr std::string_view kBuiltByConnection = "; built by connection ";
// Last, since the comment it brings runs to the end, whatever it holds.
constexpr std::string_view kOwnComment = "; its own comment: ";

bool consume(std::string_view& text, std::string_view expected)
{
    if (!text.starts_with(expected))
        return false;
    text.remove_prefix(expected.size());
    return true;
}

// Reads a name between backticks, with `` standing for one backtick, off the front of `text`.
std::optional<std::string> consumeQuotedName(std::string_view& text)
{
    if (!consume(text, "`"))
        return std::nullopt;
    std::string name;
    for (std::size_t position = 0; position < text.size(); ++position) {
        if (text[position] != '`') {
            name.push_back(text[position]);
            continue;
        }
        if (position + 1 < text.size() && text[position + 1] == '`') {
            name.push_back('`');
            ++position;
            continue;
        }
        text.remove_prefix(position + 1);
        return name;
    }
    return std::nullopt; // the closing backtick is missing
}

// A decimal number without sign or leading zero off the front of `text`.
std::optional<std::uint64_t> consumeWholeNumber(std::string_view& text)
{
    const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
    std::uint64_t number = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + digits, number);
    const bool leadingZero = digits > 1 && text.front() == '0';
    if (digits == 0 || leadingZero || failure != std::errc() || end != text.data() + digits)
        return std::nullopt;
    text.remove_prefix(digits);
    return number;
}

} // namespace

std::string swapMarkerComment(const SwapMarker& marker)
{
    std::string comment = std::string(kSwapMarkerHead) + backtickQuoted(marker.table) + std::string(kIncomplete);
    if (marker.oldTable)
        comment += std::string(kOldTableGoesTo) + backtickQuoted(*marker.oldTable);
    if (marker.runConnection)
        comment += std::string(kBuiltByConnection) + std::to_string(*marker.runConnection);
    if (marker.ownComment && !marker.ownComment->empty())
        comment += std::string(kOwnComment) + *marker.ownComment;
    return comment;
}

std::string runLockName(std::uint64_t runConnection)
{
    return "quintabel-run-" + std::to_string(runConnection);
}

std::optional<SwapMarker> readSwapMarker(std::string_view comment)
{
    SwapMarker marker;
    if (!consume(comment, kSwapMarkerHead))
        return std::nullopt;
    std::optional<std::string> table = consumeQuotedName(comment);
    if (!table || table->empty() || !consume(comment, kIncomplete))
        return std::nullopt;
    marker.table = std::move(*table);
    if (consume(comment, kOldTableGoesTo)) {
        marker.oldTable = consumeQuotedName(comment);
        if (!marker.oldTable || marker.oldTable->empty())
            return std::nullopt;
    }
    if (consume(comment, kBuiltByConnection)) {
        marker.runConnection = consumeWholeNumber(comment);
        if (!marker.runConnection)
            return std::nullopt;
    }
    if (consume(comment, kOwnComment)) {
        if (comment.empty())
            return std::nullopt;
        marker.ownComment = std::string(comment);
        comment = {};
    }
    if (!comment.empty())
        return std::nullopt;
    return marker;
}

} // namespace quintabel
