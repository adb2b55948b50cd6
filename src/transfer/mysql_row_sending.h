#pragma once
// How the rows of a table just created on the MySQL server are best sent.

#include "transfer/row_copy.h"

#include <string>

namespace quintabel {

namespace connections {
class Connection;
}

// Batched, inside one transaction, when the table's engine keeps transactions (InnoDB, the
// default): a refused batch can then be undone to its savepoint and sent again row by row.
// A table of an engine without transactions (a customised ENGINE=MyISAM, MEMORY, ...) keeps
// the rows of a multi-row INSERT that came before a refused one, and nothing can undo them;
// such a table, and any table whose engine cannot be asked, is sent one row at a time.
// The batches stay well below the server's max_allowed_packet, the longest statement it takes.
RowCopyOptions mySqlRowSending(connections::Connection& mysql, const std::string& table);

} // namespace quintabel
