#include "transfer/refused_column.h"

#include "base/expected_problem.h"
#include "drivers/database_error.h"

namespace quintabel {

namespace {

// The text between `before` and the last `after` that follows it (a name may itself hold a
// quote, so the name runs to the last end marker rather than to the first).
std::optional<std::string> between(std::string_view message, std::string_view before, std::string_view after)
{
    const std::size_t start = message.find(before);
    if (start == std::string_view::npos)
        return std::nullopt;
    const std::size_t nameStart = start + before.size();
    const std::size_t end = message.rfind(after);
    if (end == std::string_view::npos || end < nameStart)
        return std::nullopt;
    return std::string(message.substr(nameStart, end - nameStart));
}

// The last of the backticked names in `path` ("`db`.`table`.`column`"), its doubled
// backticks made single again.
std::optional<std::string> lastBacktickedName(std::string_view path)
{
    std::optional<std::string> last;
    std::size_t at = 0;
    while (at < path.size()) {
        if (path[at] != '`')
            return std::nullopt;
        std::string name;
        std::size_t index = at + 1;
        for (;; ++index) {
            if (index >= path.size())
                return std::nullopt;
            if (path[index] != '`') {
                name.push_back(path[index]);
                continue;
            }
            if (index + 1 < path.size() && path[index + 1] == '`') {
                name.push_back('`');
                ++index;
                continue;
            }
            break;
        }
        last = std::move(name);
        at = index + 1;
        if (at < path.size()) {
            if (path[at] != '.')
                return std::nullopt;
            ++at;
        }
    }
    return last;
}

} // namespace

std::optional<std::string> columnNamedInRefusal(std::string_view message)
{
    if (auto quoted = between(message, "for column '", "' at row"))
        return quoted;
    if (auto path = between(message, "for column `", " at row"))
        return lastBacktickedName("`" + *path);
    if (message.rfind("Column '", 0) == 0)
        return between(message, "Column '", "' cannot be null");
    if (message.rfind("Field '", 0) == 0)
        return between(message, "Field '", "' doesn't have a default value");
    return std::nullopt;
}

std::string refusalAtTableRow(std::string_view message, std::int64_t tableRow)
{
    constexpr std::string_view atRow = " at row ";
    const std::size_t at = message.rfind(atRow);
    if (at == std::string_view::npos)
        return std::string(message);
    const std::string_view number = message.substr(at + atRow.size());
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
        return std::string(message);
    return std::string(message.substr(0, at + atRow.size())) + std::to_string(tableRow);
}

void rethrowRefusalAtTableRow(const db::DatabaseError& failure, std::int64_t tableRow)
{
    const std::string refusal = refusalAtTableRow(failure.description(), tableRow);
    if (refusal == failure.description())
        throw;
    if (isExpectedProblem(failure))
        throw Expected<db::DatabaseError>(refusal, failure.number());
    throw db::DatabaseError(refusal, failure.number());
}

} // namespace quintabel
