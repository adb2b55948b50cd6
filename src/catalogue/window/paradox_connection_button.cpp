#include "catalogue/window/paradox_connection_button.h"

#include "base/message_boxes.h"
#include "base/step_guard.h"
#include "catalogue/window/connection_messages.h"
#include "catalogue/window/paradox_table_list.h"
#include "maintenance/paradox_recovery_notice.h"
#include "shell/pointer_rules.h"

namespace quintabel {

void testParadoxConnectionButton(StepGuard& guard, const QString& folder, PointerRules& pointer)
{
    guard.step(102, [&] { pointer.setShape(PointerShape::Busy); });
    // A replacement that a kill interrupted may have set the folder's only table aside: put
    // right (and said so) first, the folder is answered as it then stands.
    recoverParadoxFolderAndTell(folder);
    bool hasTables = false;
    guard.step(104, [&] { hasTables = ParadoxFolderHasTables(folder); });
    if (hasTables)
        guard.step(106, [&] { showMessage(QString::fromLatin1(kConnectionSuccessful)); });
    else
        guard.step(108, [&] { showMessage(QString::fromLatin1(kParadoxCouldNotConnect)); });
    guard.step(110, [&] { pointer.setShape(PointerShape::Default); });
}

} // namespace quintabel
