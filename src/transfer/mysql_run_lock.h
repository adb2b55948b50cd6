#pragma once
// The lock that tells a live Paradox to MySQL run from a dead one. A run takes a named lock
// of its own server connection (runLockName) before it builds anything, and the
// server holds it until that connection ends: at the run's end, or a moment after the program
// is killed, when the server sees the connection drop. The recovery of another Quintabel then
// settles only the copies whose run's lock it can take.

#include <cstdint>
#include <optional>

namespace quintabel {

namespace connections {
class Connection;
}

// Takes this connection's run lock; its connection id, or nothing when the server would not
// give the lock (the copies then carry no run, and count as left by a dead one).
std::optional<std::uint64_t> holdRunLock(connections::Connection& mysql);

// True when the run of `runConnection` has ended: its lock was taken within `waitSeconds`,
// and is held by `mysql` until releaseRunLock. A lock held by this very connection counts as
// taken (MariaDB's named locks nest).
bool takeEndedRunLock(connections::Connection& mysql, std::uint64_t runConnection, int waitSeconds);

void releaseRunLock(connections::Connection& mysql, std::uint64_t runConnection);

} // namespace quintabel
