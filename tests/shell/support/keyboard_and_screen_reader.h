#pragma once
// What a keyboard user and a screen reader meet in a window: the accessible name and role of a
// control, as Qt hands them to assistive technology, and the controls that Tab visits.

#include "shell/support/qstring_printer.h"

#include <QAccessible>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

class QWidget;

namespace quintabel::testing {

struct AccessibleSummary {
    QString name;
    QAccessible::Role role = QAccessible::NoRole;

    bool operator==(const AccessibleSummary&) const = default;
};

void PrintTo(const AccessibleSummary& summary, std::ostream* out);

AccessibleSummary accessibleSummary(QWidget& control);

// Shows `window` and makes it the active window, so that its controls can take the focus.
void showActive(QWidget& window);

// Puts the focus on `first`, then presses `key` (Tab or Backtab) `presses` times on whatever
// has the focus, as real key events. Returns `first` and each control that had the focus after
// a press, in order.
std::vector<QWidget*> focusWalk(QWidget& first, std::size_t presses, int key);

// Tabs `presses` times through the active `window`, starting with nothing focused, and gives
// back the designer names of the controls that Tab reached but that look the same as before
// any had the focus (their own pixels and two around them, where styles draw focus frames).
// Some styles mark the focus only when a key moved it, so real Tab presses move it here.
QStringList controlsWithoutVisibleFocus(QWidget& window, std::size_t presses);

} // namespace quintabel::testing
