#include "transfer/transfer_environment.h"

#include "catalogue/form2.h"

namespace quintabel {

TransferWindow mySqlToParadoxParts(Form2& window)
{
    return {*window.List1, *window.List2, *window.Check15, *window.ProgressBar1, window.pointer(),
            [&window] { return window.endRequested(); }};
}

TransferWindow paradoxToMySqlParts(Form2& window)
{
    return {*window.List2, *window.List1, *window.Check16, *window.ProgressBar1, window.pointer(),
            [&window] { return window.endRequested(); }};
}

} // namespace quintabel
