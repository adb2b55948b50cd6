#pragma once
// Keeps passwords out of what assistive technology hears.
//
// Qt's own description of a line edit in password mode hides its text, but the line edit still
// announces every change with events that carry the changed text itself: on Linux the
// accessibility bridge sends each typed character of a password, and the whole stored password
// when the field is filled, to every listener on the session bus. The mask below stands between
// those events and the bridge and replaces their text with what the field shows: one "*" per
// character (nothing at all for a field that echoes nothing).

#include <QAccessible>

#include <memory>

namespace quintabel {

// Puts the mask on top of whatever handles accessibility events now. Calling it again
// changes nothing.
void maskPasswordsInAccessibilityEvents();

// The mask itself: hands `event` on to the handler below it, or to the platform's bridge,
// with the text of a password field masked. Installed by the function above.
void handOnWithPasswordsMasked(QAccessibleEvent* event);

// A copy of `event` with its text masked, when it is a text change of a line edit that hides
// its text; null for every other event, which may travel as it is.
std::unique_ptr<QAccessibleEvent> passwordSafeEvent(const QAccessibleEvent& event);

} // namespace quintabel
