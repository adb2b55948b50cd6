#pragma once
// The settings store: named text values kept between runs under application "Corvandel",
// section "Quintabel" (QSettings; here the INI file <config>/Corvandel/Corvandel.conf with
// its [Quintabel] group). The file holds the MySQL password in plain text, so every write
// leaves it readable and writable by its owner only (mode 0600), whatever the umask.

#include <QString>

#include <optional>

namespace quintabel {

namespace settings_keys {
inline constexpr char kParadoxFolder[] = "ParadoxFolder";
inline constexpr char kServer[] = "Server";
inline constexpr char kPort[] = "Port";
inline constexpr char kUser[] = "User";
inline constexpr char kPassword[] = "Password";
inline constexpr char kDatabase[] = "Database";
// The Paradox code page chosen in the connection window: a number, or "0" for the one each
// table names.
inline constexpr char kParadoxCodePage[] = "ParadoxCodePage";
inline constexpr char kWithDataTypeChange1[] = "With Data Type Change 1";
inline constexpr char kWithDataTypeChange2[] = "With Data Type Change 2";
inline constexpr char kLastFolderDot[] = "LastFolderDot";
} // namespace settings_keys

// The stored text of `key`, or `defaultValue` when the key holds no value. Throws
// std::runtime_error when the settings file exists but cannot be read.
QString readSetting(const QString& key, const QString& defaultValue);

// Why the settings file cannot be read, when it exists and cannot be; no value when it can be
// read or does not exist yet.
std::optional<QString> settingsReadProblem();

// Stores `value` under `key` at once. Throws std::runtime_error when the file cannot be
// written.
void writeSetting(const QString& key, const QString& value);

} // namespace quintabel
