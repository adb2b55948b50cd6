#include "catalogue/window/mysql_connection_button.h"

#include "base/message_boxes.h"
#include "base/step_guard.h"
#include "catalogue/window/connection_messages.h"
#include "catalogue/login_fields.h"
#include "connections/connection.h"
#include "shell/pointer_rules.h"

#include <QCoreApplication>

namespace quintabel {

void testMySqlConnectionButton(StepGuard& guard, const ConnectionFields& fields, PointerRules& pointer)
{
    connections::Connection connection; // closed again when it goes out of scope
    // Any failure from here on means "could not connect": it leads to the long message, not
    // to the error report.
    try {
        pointer.setShape(PointerShape::Busy);
        // The busy pointer must show before the attempt, which blocks the window.
        QCoreApplication::processEvents();
        connection.Open(mySqlConnectionStringOf(fields));
        showMessage(QString::fromLatin1(kConnectionSuccessful));
        pointer.setShape(PointerShape::Default);
    } catch (...) {
        guard.step(114, [&] { showMessage(QString::fromLatin1(kMySqlCouldNotConnect)); });
        guard.step(116, [&] { pointer.setShape(PointerShape::Default); });
    }
}

} // namespace quintabel
