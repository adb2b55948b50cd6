#pragma once
// The two "Send with data type customization" boxes of the tables window and the settings
// that remember them between runs: "With Data Type Change 1" for the MySQL side's box,
// "With Data Type Change 2" for the Paradox side's.

#include <QString>

class QCheckBox;

namespace quintabel {

// The box as stored: "1" ticked, "0" otherwise (a partly ticked box counts as unticked).
QString storedBoxValue(const QCheckBox& box);

// Writes the box's state under `key` at once.
void storeCustomisationBox(const QCheckBox& box, const QString& key);

// Unticks the box when the setting under `key` (default "0") is exactly "0", ticks it for
// any other text. A box whose state changes stores itself again through its own handler.
void setCustomisationBoxFromSetting(QCheckBox& box, const QString& key);

} // namespace quintabel
