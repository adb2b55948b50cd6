#pragma once
// The look of the windows: white by design, or the system's button-face colour.

#include <QColor>
#include <QString>

class QWidget;

namespace quintabel {

// The system's button-face colour.
QColor buttonFaceColour();

// The window's background, and that of its labels, frames, check boxes and option buttons,
// become the button-face colour; other controls keep theirs.
void ApplyFaceColour(QWidget& window);

// The skin file "x/o.cjs" beside the program: when it exists the connection window takes the
// button-face colour (this platform has no skin engine, so the colour is all the skin does).
// Without the file nothing changes.
void ApplySkin(QWidget& connectionWindow, const QString& programFolder);

} // namespace quintabel
