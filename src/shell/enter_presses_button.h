#pragma once
// Return and Enter press the focused push button, as Space does.
//
// Qt gives those keys to a button only when it is a dialog's "auto-default" button, and then a
// dialog also passes Return from a text field on to whichever button last had the focus, which
// would press a button the user did not choose. Here the key reaches the button only while the
// button itself has the focus; a held key presses it once.

class QPushButton;

namespace quintabel {

void letEnterPressButton(QPushButton& button);

} // namespace quintabel
