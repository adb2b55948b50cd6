#pragma once
// The work of the connection window's MySQL "Test Connection" button.

#include "base/connection_fields.h"

namespace quintabel {

class PointerRules;
class StepGuard;

// Opens a connection with the MySQL login of `fields` (read once, when the button is clicked)
// and says whether it worked. A connection that cannot be opened is no error report: the long
// message says what to check. The pointer shows busy from before the attempt until the answer
// has been given, and the connection is closed before the handler returns.
void testMySqlConnectionButton(StepGuard& guard, const ConnectionFields& fields, PointerRules& pointer);

} // namespace quintabel
