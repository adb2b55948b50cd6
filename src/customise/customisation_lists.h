#pragma once
// The state of the customisation window without the window: the fields list and the types
// list side by side, the one selected row they share, and whether "Apply" changed anything.
// The window shows this state and asks it what each click does.

#include "transfer/target_kind.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::customise {

// The window's own texts.
inline constexpr std::string_view windowCaption = "Data Type Customization Before Transfer";
inline constexpr std::string_view invalidTypeMessage = "Invalid datatype.";
inline constexpr std::string_view unsavedChangeQuestion =
    "Data type has been change.\r\nDo you still want to exit without changes?";

enum class ApplyOutcome {
    Applied,         // the selected type entry now holds the typed text
    InvalidType,     // IsValidDataType refused it: show invalidTypeMessage, nothing changes
    NothingSelected, // no type entry is selected: nothing changes
};

class CustomisationLists {
public:
    // The loaders append one field and then its proposed type. A load that fails between the
    // two leaves one field more than types; every operation below stays safe then.
    void appendField(std::string fieldName);
    void appendType(std::string typeText);

    const std::vector<std::string>& fieldNames() const { return fieldNames_; }
    const std::vector<std::string>& typeTexts() const { return typeTexts_; }

    // The row selected in both lists; nothing right after loading.
    std::optional<std::size_t> selectedRow() const { return selectedRow_; }

    // Selecting a row in either list selects the same row in the other. Returns the text for
    // the text box: that row's type. Returns nothing for the extra field of a failed load
    // (selected, with no type entry to select beside it) and for a row outside both lists
    // (ignored: the selection stays as it was).
    std::optional<std::string> selectRow(std::size_t row);

    // Neither list has a selected row any more (the user took the selection away); "Apply"
    // then changes nothing.
    void clearSelection() { selectedRow_.reset(); }

    // "Apply": checks the typed text as typed and writes it into the selected type entry.
    ApplyOutcome apply(std::string_view typed);

    // `mChanged`: true once "Apply" has changed a type since loading.
    bool changed() const { return changed_; }

    // Whether a close by "Cancel" or the close box must ask unsavedChangeQuestion first.
    bool closeNeedsQuestion() const { return changed_; }

    // "OK": the complete CREATE TABLE statement for the target kind text `mType`, from the
    // statement head the transfer put into `mSQL`; clears `mChanged` so that closing asks
    // nothing. The caller then clears `CustomizeCancelled` and closes the window.
    std::string confirm(std::string_view statementHead, std::string_view mType);

private:
    std::vector<std::string> fieldNames_;
    std::vector<std::string> typeTexts_;
    std::optional<std::size_t> selectedRow_;
    bool changed_ = false;
};

} // namespace quintabel::customise
