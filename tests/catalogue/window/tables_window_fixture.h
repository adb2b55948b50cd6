#pragma once
// A tables window for a test of its own: scripted message boxes, settings of its own, a
// program folder, and a window that counts the program's end instead of ending it.

#include "catalogue/window/form2.h"
#include "catalogue_test_support.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace quintabel::testing {

class TablesWindowTest : public ::testing::Test {
protected:
    ScriptedBoxesInstalled installed;
    ScriptedMessageBoxes& boxes = installed.boxes;
    TemporarySettings settings;
    QTemporaryDir programFolder;
    int programEnds = 0;
    QWidget connectionWindow;
    Form2 form{QuietTablesWindow(programFolder.path(), programEnds), connectionWindow};
};

} // namespace quintabel::testing
