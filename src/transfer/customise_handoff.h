#pragma once
// Where a transfer and the data type customisation window meet, once per table, when
// "Send with data type customization" is ticked.

#include "transfer/target_kind.h"

#include <string>
#include <string_view>

namespace quintabel {

// The values the two sides share. The transfer fills them in before the window shows; the
// window reads them and, on "OK" only, completes `mSQL` and clears `CustomizeCancelled`.
struct CustomiseHandoff {
    // True from just before the window shows until the user confirms with "OK"; still true
    // after the window has closed means the user cancelled (by "Cancel" or the close box).
    bool CustomizeCancelled = true;
    std::string mType;      // the target kind's text, "Paradox" or "MySQL"
    std::string mSQL;       // on entry the statement prefix; after "OK" the whole statement
    std::string mTableName; // the source table name exactly as listed (never cut to 8)
};

// The modal call of the customisation window. The window implements it; tests stand a double
// in its place.
class CustomisationWindow {
public:
    virtual ~CustomisationWindow() = default;
    // Shows the window modally for `handoff` and returns when it has closed.
    virtual void showModal(CustomiseHandoff& handoff) = 0;
};

// The hand-off as the transfer sets it before it shows the window for `sourceTableName`.
CustomiseHandoff beginCustomisation(TargetKind target, std::string_view sourceTableName);

enum class CustomiseDecision {
    Cancelled,           // end the whole run
    UseDefaultStatement, // the window handed back the prefix: build DefaultCreateStatement
    UseWindowStatement,  // execute CustomiseOutcome::createStatement unchanged
};

struct CustomiseOutcome {
    CustomiseDecision decision = CustomiseDecision::Cancelled;
    std::string createStatement; // set for UseWindowStatement only
};

// What the transfer does after the window has closed: cancelled while the flag is still set;
// otherwise the window's `mSQL`, unless that is exactly the statement prefix of
// `sourceTableName` (no column types chosen, for example after a failed load).
CustomiseOutcome finishCustomisation(const CustomiseHandoff& handoff, std::string_view sourceTableName);


} // namespace quintabel
