#pragma once
// The connection data of a command-line run: what the connection window saved, each field
// replaced by its option when one is given, and the password from where it may come.

#include "cli/command_line.h"
#include "base/connection_fields.h"

#include <QString>

#include <functional>
#include <optional>

namespace quintabel::cli {

inline constexpr char kPasswordVariable[] = "QUINTABEL_PASSWORD";

struct SavedConnection {
    ConnectionFields fields;
    // Why the saved settings could not be read; the fields then hold the window's own
    // defaults (server localhost, port 3306, the rest empty) under the options.
    std::optional<QString> settingsProblem;
};

// The saved fields with the window's defaults for keys never saved, the code page choice as
// the window reads it ("As each table says" when none was saved), and `overrides` over them. The password is the saved one here.
SavedConnection savedConnection(const ConnectionOverrides& overrides);

// Where the password comes from, first that has one: QUINTABEL_PASSWORD when it is set (even
// empty: set for this run, it wins over the saved one), the saved password when not empty,
// else `prompt` (typed on the terminal; it may give nothing when nobody can type).
QString choosePassword(const std::optional<QString>& environment, const QString& saved,
                       const std::function<std::optional<QString>()>& prompt);

// QUINTABEL_PASSWORD, when it is set.
std::optional<QString> passwordFromEnvironment();

} // namespace quintabel::cli
