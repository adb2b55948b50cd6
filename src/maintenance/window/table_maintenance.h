#pragma once
// Gives the tables window the work of its four delete and rename buttons.

#include "base/connection_fields.h"

#include <functional>

namespace quintabel {

class Form1;
class Form2;

// Each click reads the login fields (and the Paradox folder) afresh through `currentFields`.
void attachTableMaintenance(Form2& tablesWindow, std::function<ConnectionFields()> currentFields);

// The same, reading the six fields of the connection window at each click.
void attachTableMaintenance(Form2& tablesWindow, const Form1& connectionWindow);

} // namespace quintabel
