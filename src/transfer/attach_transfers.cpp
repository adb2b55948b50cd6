#include "transfer/attach_transfers.h"

#include "catalogue/form2.h"
#include "transfer/mysql_to_paradox.h"
#include "transfer/paradox_to_mysql.h"

namespace quintabel {

void attachTransfers(Form2& tablesWindow, TransferEnvironment environment)
{
    Form2* const window = &tablesWindow;
    tablesWindow.setSendToParadoxBody([window, environment](StepGuard& guard) {
        SendTablesToParadox(guard, mySqlToParadoxParts(*window), environment);
    });
    tablesWindow.setSendToMySqlBody([window, environment](StepGuard& guard) {
        SendTablesToMySql(guard, paradoxToMySqlParts(*window), environment);
    });
}

} // namespace quintabel
