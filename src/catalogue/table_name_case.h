#pragma once
// Letter case of table names. The Paradox folder and the scratch database find a table
// without regard to the case of A to Z only, so the catalogue upper-cases those letters and
// no others: a name it lists or compares always leads back to the same table.

#include <QString>

namespace quintabel {

// `name` with a to z upper-cased; every other character kept as it is.
QString asciiUpperCase(const QString& name);

} // namespace quintabel
