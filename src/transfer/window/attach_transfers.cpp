#include "transfer/window/attach_transfers.h"

#include "catalogue/window/form2.h"
#include "catalogue/window/list_box_front_end.h"
#include "transfer/mysql_to_paradox.h"
#include "transfer/paradox_to_mysql.h"

namespace quintabel {

namespace {

// The widgets of one direction: "Send Table/s To Paradox" reads List1, lists into List2 and
// asks Check15; "Send Table/s To MySQL" the other way round with Check16.
ListBoxParts directionParts(Form2& window, QListWidget& source, QListWidget& target, const QCheckBox& customiseBox)
{
    return {source, &target, &customiseBox, window.ProgressBar1, &window.pointer(),
            [&window] { return window.endRequested(); }};
}

} // namespace

void attachTransfers(Form2& tablesWindow, TransferEnvironment environment)
{
    Form2* const window = &tablesWindow;
    tablesWindow.setSendToParadoxBody([window, environment](StepGuard& guard) {
        ListBoxFrontEnd frontEnd(directionParts(*window, *window->List1, *window->List2, *window->Check15));
        sendTablesToParadox(guard, frontEnd, environment);
    });
    tablesWindow.setSendToMySqlBody([window, environment](StepGuard& guard) {
        ListBoxFrontEnd frontEnd(directionParts(*window, *window->List2, *window->List1, *window->Check16));
        sendTablesToMySql(guard, frontEnd, environment);
    });
}

} // namespace quintabel
