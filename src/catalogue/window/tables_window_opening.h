#pragma once
// The passage from the connection window to the tables window: "Next >", and the start-up
// that takes it by itself when the saved login still works.

#include "catalogue/window/form2.h"

namespace quintabel {

class Form1;

// "Next >": when the Paradox folder is there (holding tables or not yet) and the MySQL database
// can be reached, lists both sides afresh into the tables window (loading it first if
// needed), sets its two customisation boxes from the settings, shows it and hides the
// connection window. An empty folder field or an unreachable server stops without a message;
// a folder that is not there is named in one. The connection window's pointer is busy
// throughout.
void openTablesWindow(StepGuard& guard, Form1& connectionWindow, Form2& tablesWindow);

// The end of the connection window's start-up: when the Paradox folder holds tables of its own
// and the MySQL database can be reached, clicks "Next >".
void continueStartup(StepGuard& guard, Form1& connectionWindow);

// Makes the tables window for `connectionWindow` (loaded when "Next >" first reaches it,
// deleted with the connection window) and gives the connection window the work of "Next >",
// of both "Test Connection" buttons and of its start-up continuation. While the connection
// window's pointer shows busy, a further click on those buttons is ignored. Call before
// Form1::loadAndShow(), so that the start-up can open the tables window.
Form2& attachTablesWindow(Form1& connectionWindow);
Form2& attachTablesWindow(Form1& connectionWindow, Form2::Environment environment);

} // namespace quintabel
