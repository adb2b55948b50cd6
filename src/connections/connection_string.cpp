#include "connections/connection_string.h"

#include "drivers/database_error.h"
#include "drivers/quoted_text.h"

namespace quintabel::connections {

std::string mySqlConnectionString(const LoginFields& fields)
{
    return "DRIVER={MySQL ODBC 5.1 Driver};SERVER=" + fields.server + ";USER=" + fields.user
        + ";DATABASE=" + fields.database + ";PASSWORD=" + fields.password + ";PORT=" + fields.port
        + ";";
}

std::string paradoxConnectionString(const LoginFields& fields)
{
    std::string text = "Driver={Microsoft Paradox Driver (*.db )};DriverID=538;Fil=Paradox 5.X;DefaultDir="
        + fields.paradoxFolder + ";Dbq=" + fields.paradoxFolder + ";CollatingSequence=ASCII;";
    if (fields.paradoxCodePage != 0)
        text += "CodePage=" + std::to_string(fields.paradoxCodePage) + ";";
    return text;
}

std::string scratchConnectionString(const std::string& folder)
{
    return "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder + "/dbtemp.mdb;";
}

namespace {

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

[[noreturn]] void notWellFormed(std::string_view text, std::size_t position, const char* why)
{
    throw db::DatabaseError("The connection string is not well formed at character "
                            + std::to_string(position + 1) + " ('"
                            + std::string(text.substr(position, 40)) + "'): " + why + ".");
}

// Reads a braced value starting at the "{" at `position`; answers the value and moves
// `position` past the closing "}".
std::string readBracedValue(std::string_view text, std::size_t& position)
{
    const std::size_t start = position;
    ++position;
    auto value = db::readUntilClosingMark(text, position, '}');
    if (!value)
        notWellFormed(text, start, "a \"{\" is never closed");
    return std::move(*value);
}

} // namespace

db::ConnectionAttributes parseConnectionString(std::string_view text)
{
    db::ConnectionAttributes attributes;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t pieceStart = position;
        const std::size_t pieceEnd = std::min(text.find(';', position), text.size());
        const std::size_t equals = text.find('=', position);
        if (pieceEnd == pieceStart)
            notWellFormed(text, pieceStart, "an empty piece between two \";\"");
        if (equals == std::string_view::npos || equals > pieceEnd)
            notWellFormed(text, pieceStart, "a piece without \"=\"");
        const std::string_view key = trimBlanks(text.substr(pieceStart, equals - pieceStart));
        if (key.empty())
            notWellFormed(text, pieceStart, "a piece without a key");

        position = equals + 1;
        std::string value;
        if (position < text.size() && text[position] == '{') {
            value = readBracedValue(text, position);
            if (position < text.size() && text[position] != ';')
                notWellFormed(text, position, "text after a closing \"}\"");
        } else {
            const std::size_t valueEnd = std::min(text.find(';', position), text.size());
            value = std::string(text.substr(position, valueEnd - position));
            position = valueEnd;
        }
        attributes.add(std::string(key), std::move(value));
        if (position < text.size())
            ++position; // the ";" that ends this piece
    }
    return attributes;
}

} // namespace quintabel::connections
