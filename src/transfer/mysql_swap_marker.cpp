#include "transfer/mysql_swap_marker.h"

#include "transfer/sql_names.h"

namespace quintabel::transfer {

namespace {

constexpr std::string_view kIncomplete = ", not yet complete";
constexpr std::string_view kOldTableGoesTo = "; the old table goes to ";

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

} // namespace

std::string swapMarkerComment(const SwapMarker& marker)
{
    std::string comment = std::string(kSwapMarkerHead) + backtickQuoted(marker.table) + std::string(kIncomplete);
    if (marker.oldTable)
        comment += std::string(kOldTableGoesTo) + backtickQuoted(*marker.oldTable);
    return comment;
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
    if (!comment.empty())
        return std::nullopt;
    return marker;
}

} // namespace quintabel::transfer
