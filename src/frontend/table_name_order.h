#pragma once
// The order of the table lists: by name without regard to letter case, exact character codes
// breaking ties, so that the order is total and the same on every run.

#include <QString>

namespace quintabel {

bool tableNameOrderLess(const QString& left, const QString& right);

} // namespace quintabel
