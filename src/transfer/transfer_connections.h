#pragma once
// Opening the connections of a transfer, each property set before the open as its own
// labelled step, so that a connection that cannot be opened is reported and every later step
// that uses it fails and is reported in turn.

#include "base/connection_fields.h"

#include <QString>

#include <functional>

namespace quintabel {

class StepGuard;

namespace connections {
class Connection;
}

// The scratch database dbtemp.mdb in the folder that `scratchFolder` gives: server-side
// cursor, read and write. When the driver had to make a damaged file anew, the user is told
// so in one message. Labels: firstLabel (cursor location), +2 (mode), +4 (open, and the
// message).
void openScratchConnection(StepGuard& guard, int firstLabel, connections::Connection& connection,
                           const std::function<QString()>& scratchFolder);

// The Paradox folder: client-side cursor. Labels: firstLabel (cursor location), +2 (open).
void openParadoxConnection(StepGuard& guard, int firstLabel, connections::Connection& connection,
                           const ConnectionFields& fields);

// The MySQL database: server-side cursor, command and connection time-outs of 5000 seconds.
// Labels: firstLabel (cursor location), +2, +4 (time-outs), +6 (open).
void openMySqlConnection(StepGuard& guard, int firstLabel, connections::Connection& connection,
                         const ConnectionFields& fields);

// Closes the connection when it is open; a closed one is left alone.
void closeIfOpen(connections::Connection& connection);

} // namespace quintabel
