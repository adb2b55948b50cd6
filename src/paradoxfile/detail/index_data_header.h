#pragma once
// The header of a secondary index's data file (.Xnn, .XGn: file types 3, 5, 6 and 8), which
// is laid out like a table's and read by the same code (docs/paradox-format.md §13.3).

#include "paradoxfile/table_header.h"

namespace quintabel::paradox::detail {

// parseTableHeader() for such a file: the same checks, but only those file types pass.
TableHeader parseIndexDataHeader(const ByteSource& source, const ReaderOptions& options);

} // namespace quintabel::paradox::detail
