#pragma once
// What the two transfers need from the program around them, and what they read and drive in
// the tables window.

#include "shell/connection_fields.h"
#include "transfer/customize_handoff.h"

#include <QString>

#include <functional>

class QCheckBox;
class QListWidget;

namespace quintabel {

class Form2;
class PointerRules;
class ProgressBar;

struct TransferEnvironment {
    // The connection window's six fields, read at the moment a transfer connects.
    std::function<ConnectionFields()> connectionFields;
    // The folder that holds the scratch database dbtemp.mdb. Asked for when a transfer to
    // Paradox opens the scratch connection, so that the program makes its own scratch folder
    // only once a transfer needs it; a failure to make it is that open step's failure.
    std::function<QString()> scratchFolder;
    // The data type customisation window (Form3), shown when the direction's box is ticked.
    // Not owned. Without one, a ticked box ends the run as a cancelled window does.
    transfer::CustomizationWindow* customizationWindow = nullptr;
};

// The parts of the tables window one transfer works on.
struct TransferWindow {
    QListWidget& sourceList;   // the selected tables are read from here
    QListWidget& targetList;   // the overwrite question looks here; names are removed and added
    const QCheckBox& customizeBox;
    ProgressBar& progressBar;
    PointerRules& pointer;
    // True once the window has been closed: the program is ending, so the run stops at its
    // next row or table, and leaves no half-written table behind.
    std::function<bool()> endRequested;
};

// The parts for "Send Table/s To Paradox" (List1 to List2, Check15) and "Send Table/s To
// MySQL" (List2 to List1, Check16).
TransferWindow mySqlToParadoxParts(Form2& window);
TransferWindow paradoxToMySqlParts(Form2& window);

} // namespace quintabel
