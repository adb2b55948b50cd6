#include "transfer/transfer_connections.h"

#include "base/message_boxes.h"
#include "base/step_guard.h"
#include "catalogue/login_fields.h"
#include "connections/connection.h"
#include "connections/connection_string.h"

#include <stdexcept>

namespace quintabel {

namespace {

// Both transfers wait this long, in seconds, for the server to connect and to answer.
constexpr int kTransferTimeoutSeconds = 5000;

} // namespace

void openScratchConnection(StepGuard& guard, int firstLabel, connections::Connection& connection,
                           const std::function<QString()>& scratchFolder)
{
    guard.step(firstLabel, [&] { connection.setCursorLocation(connections::adUseServer); });
    guard.step(firstLabel + 2, [&] { connection.setMode(connections::adModeReadWrite); });
    const bool opened = guard.step(firstLabel + 4, [&] {
        if (!scratchFolder)
            throw std::logic_error("no scratch folder was given to the transfer");
        connection.Open(connections::scratchConnectionString(scratchFolder().toStdString()));
    });
    // A damaged scratch file made anew is told once, as plain news rather than as an error:
    // the run goes on with the fresh file.
    if (opened) {
        if (const auto notice = connection.OpeningNotice())
            guard.step(firstLabel + 4, [&] { showMessage(QString::fromStdString(*notice)); });
    }
}

void openParadoxConnection(StepGuard& guard, int firstLabel, connections::Connection& connection,
                           const ConnectionFields& fields)
{
    guard.step(firstLabel, [&] { connection.setCursorLocation(connections::adUseClient); });
    guard.step(firstLabel + 2, [&] { connection.Open(paradoxConnectionStringOf(fields)); });
}

void openMySqlConnection(StepGuard& guard, int firstLabel, connections::Connection& connection,
                         const ConnectionFields& fields)
{
    guard.step(firstLabel, [&] { connection.setCursorLocation(connections::adUseServer); });
    guard.step(firstLabel + 2, [&] { connection.setCommandTimeout(kTransferTimeoutSeconds); });
    guard.step(firstLabel + 4, [&] { connection.setConnectionTimeout(kTransferTimeoutSeconds); });
    guard.step(firstLabel + 6, [&] { connection.Open(mySqlConnectionStringOf(fields)); });
}

void closeIfOpen(connections::Connection& connection)
{
    if (connection.State() != connections::adStateClosed)
        connection.Close();
}

} // namespace quintabel
