#pragma once
// Gives the tables window the work of its two send buttons.

#include "transfer/transfer_environment.h"

namespace quintabel {

class Form2;

// "Send Table/s To Paradox" (PushButton3) and "Send Table/s To MySQL" (PushButton4) run the
// two transfers. The window must outlive neither the environment's customisation window nor
// whatever its connection-fields function reads.
void attachTransfers(Form2& tablesWindow, TransferEnvironment environment);

} // namespace quintabel
