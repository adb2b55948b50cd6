#include "transfer/mysql_swap_recovery.h"

#include "base/ascii_case.h"
#include "base/message_boxes.h"
#include "base/step_guard.h"
#include "connections/connection.h"
#include "connections/recordset.h"
#include "transfer/mysql_run_lock.h"
#include "transfer/mysql_swap.h"
#include "transfer/mysql_swap_marker.h"
#include "transfer/mysql_swap_statements.h"
#include "transfer/mysql_work_names.h"

#include <utility>

namespace quintabel {

namespace {

// The server lets a killed run's connection go, and with it the run's lock, a moment after the
// kill; a run that still holds its lock after this long is alive.
constexpr int kSecondsForAKilledRunToBeLetGo = 2;

struct MarkedTable {
    std::string name;
    SwapMarker marker;
};

// Read whole before anything is dropped: the connection streams a result, and no other
// statement may run until it is read to its end.
std::vector<MarkedTable> markedTables(connections::Connection& mysql)
{
    connections::Recordset listing = mysql.Execute(
        "SELECT TABLE_NAME, TABLE_COMMENT FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
        "AND TABLE_TYPE = 'BASE TABLE' AND TABLE_COMMENT LIKE "
        + mysqlTextLiteral(std::string(kSwapMarkerHead) + "%") + " ORDER BY TABLE_NAME");
    std::vector<MarkedTable> marked;
    for (; !listing.Eof(); listing.MoveNext()) {
        // The LIKE only narrows the search; the mark is read exactly.
        if (auto marker = readSwapMarker(db::toText(listing.Fields(1).Value())))
            marked.push_back({db::toText(listing.Fields(0).Value()), std::move(*marker)});
    }
    listing.Close();
    return marked;
}

// A server that folds names to lower case lists the swapped-in table as "orders" for the mark's
// "ORDERS"; a work name never equals its table's name in any case (freeWorkName).
bool sameTableName(const std::string& listed, const std::string& marked)
{
    return asciiLowerCase(listed) == asciiLowerCase(marked);
}

QString lineFor(const RecoveredSwap& swap)
{
    const QString table = QString::fromStdString(swap.table);
    const QString dropped = QString::fromStdString(swap.dropped);
    switch (swap.outcome) {
    case RecoveredSwap::Outcome::UnfinishedCopyDropped:
        return swap.tableExists
            ? QStringLiteral("%1: its unfinished new copy (%2) was deleted; the table %1 is as it was before.")
                  .arg(table, dropped)
            : QStringLiteral("%1: its unfinished copy (%2) was deleted; the table %1 was not created.")
                  .arg(table, dropped);
    case RecoveredSwap::Outcome::OldTableDropped:
        return QStringLiteral("%1: it had been replaced by its complete new copy; the old table, kept as %2, "
                              "was deleted.")
            .arg(table, dropped);
    case RecoveredSwap::Outcome::MarkCleared:
        break;
    }
    return QStringLiteral("%1: it holds its complete new copy.").arg(table);
}

// Settles one marked table whose run has ended.
void settle(connections::Connection& mysql, const MarkedTable& found, std::vector<RecoveredSwap>& recovered)
{
    const SwapMarker& marker = found.marker;
    if (sameTableName(found.name, marker.table)) {
        if (marker.oldTable && serverHasTable(mysql, *marker.oldTable)) {
            dropMySqlTable(mysql, *marker.oldTable);
            recovered.push_back({RecoveredSwap::Outcome::OldTableDropped, marker.table, *marker.oldTable});
            clearSwapMarker(mysql, found.name, marker);
        } else {
            clearSwapMarker(mysql, found.name, marker);
            recovered.push_back({RecoveredSwap::Outcome::MarkCleared, marker.table, {}});
        }
    } else if (hasWorkPrefix(found.name, kNewCopyPrefix)) {
        const bool tableExists = serverHasTable(mysql, marker.table);
        dropMySqlTable(mysql, found.name);
        recovered.push_back({RecoveredSwap::Outcome::UnfinishedCopyDropped, marker.table, found.name, tableExists});
    }
    // A marked table under any other name was renamed by someone else: it is theirs now.
}

} // namespace

void recoverInterruptedSwaps(connections::Connection& mysql, std::vector<RecoveredSwap>& recovered)
{
    for (const MarkedTable& found : markedTables(mysql)) {
        const std::optional<std::uint64_t> run = found.marker.runConnection;
        if (!run) {
            settle(mysql, found, recovered);
            continue;
        }
        // A copy whose run still lives is being built right now, by another Quintabel.
        if (!takeEndedRunLock(mysql, *run, kSecondsForAKilledRunToBeLetGo))
            continue;
        try {
            settle(mysql, found, recovered);
        } catch (...) {
            releaseRunLock(mysql, *run);
            throw;
        }
        releaseRunLock(mysql, *run);
    }
}

QString recoveryMessage(const std::vector<RecoveredSwap>& recovered)
{
    QString message = QStringLiteral("A transfer to this database was interrupted before it had finished. "
                                     "Quintabel has put right what it left:");
    for (const RecoveredSwap& swap : recovered)
        message += QStringLiteral("\r\n\r\n") + lineFor(swap);
    return message;
}

void recoverInterruptedSwaps(StepGuard& guard, int label, connections::Connection& mysql)
{
    std::vector<RecoveredSwap> recovered;
    guard.step(label, [&] { recoverInterruptedSwaps(mysql, recovered); });
    if (!recovered.empty())
        guard.step(label, [&] { showMessage(recoveryMessage(recovered)); });
}

} // namespace quintabel
