#pragma once
// MariaDB's client and server error numbers for failures that more than one part of the
// program must tell apart: the driver, which says what the user can do about them, and the
// transfers, which decide how far they reach (transfer/failure_reach.h).

#include <algorithm>
#include <array>

namespace quintabel::db::mysql {

// The server cannot be reached, or the connection to it was lost: no statement after it on the
// connection can succeed.
inline constexpr std::array kServerOutOfReach{
    2002, // CR_CONNECTION_ERROR
    2003, // CR_CONN_HOST_ERROR
    2006, // CR_SERVER_GONE_ERROR
    2013, // CR_SERVER_LOST
    2055, // CR_SERVER_LOST_EXTENDED
    1053, // ER_SERVER_SHUTDOWN
    1927, // ER_CONNECTION_KILLED
    4031, // ER_CLIENT_INTERACTION_TIMEOUT
};

// The server has no room left for the table's rows.
inline constexpr std::array kServerOutOfRoom{
    1021, // ER_DISK_FULL
    1114, // ER_RECORD_FILE_FULL
};

template <std::size_t Size>
constexpr bool isOneOf(const std::array<int, Size>& numbers, int number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

} // namespace quintabel::db::mysql
