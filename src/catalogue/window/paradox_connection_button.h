#pragma once
// The work of the connection window's Paradox "Test Connection" button.

#include <QString>

namespace quintabel {

class PointerRules;
class StepGuard;

// Says whether the Paradox folder `folder` (read once, when the button is clicked) holds a
// table file of its own, once the folder's recovery has put right what a killed run left. A folder that cannot be searched shows the error report and then
// "Could not connect.": a check that failed never passes for a success.
void testParadoxConnectionButton(StepGuard& guard, const QString& folder, PointerRules& pointer);

} // namespace quintabel
