#pragma once
// The CREATE TABLE statement that "OK" in the customisation window builds from the field names
// and the type texts as the user left them.

#include "transfer/target_kind.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintabel::customise {

// True when `name`, with surrounding blanks ignored, is a decimal number: an optional sign,
// digits with at most one decimal point and at least one digit, optionally an exponent (the
// letter E in either case, an optional sign, digits). "2019", "3.5", "-7", "1E3" and " .5 "
// read as numbers; "A1", "1st", "1E", "." and the empty name do not.
bool readsAsNumber(std::string_view name);

// Hands out the column names that replace field names reading as numbers, during one "OK".
class NewFieldNames {
public:
    explicit NewFieldNames(std::span<const std::string> fieldNames);

    // "newfieldname0" the first time, unless a field has exactly that name (case-sensitive);
    // then and afterwards "tempid" with a counter from 1 up, each name distinct from every
    // field name and from every name handed out before.
    std::string NewFieldName();

private:
    bool isTaken(std::string_view candidate) const;

    std::span<const std::string> fieldNames_;
    std::vector<std::string> handedOut_;
};

// The quoting `mType` asks for: exactly "Paradox" gives a Paradox target's square brackets,
// any other text a MySQL target's backticks.
TargetKind columnQuotingFor(std::string_view mType);

// A column name quoted for the target: between square brackets for a Paradox target, between
// backticks (any backtick inside doubled) for MySQL. Square brackets cannot hold a "]", so a
// name with one goes between backticks for a Paradox target too; the scratch database reads
// both quotings the same.
std::string quotedColumnName(std::string_view name, TargetKind target);

// The statement head (`mSQL` as the transfer set it) followed by one definition per entry of
// the types list: the quoted column name, one space and the type text as it stands, joined by
// commas, then ")". A field name that reads as a number is replaced by NewFieldName. With no
// type entries the head comes back unchanged, so that the transfer builds its own statement.
// Only entries present in both lists are written: after a failed load the fields list may hold
// one field more than the types list, and that field has no type to write.
std::string customisedCreateStatement(std::string_view statementHead, std::span<const std::string> fieldNames,
                                      std::span<const std::string> typeTexts, TargetKind target);

} // namespace quintabel::customise
