// The tables window as a keyboard user and a screen reader meet it.

#include "catalogue/window/form2.h"

#include "catalogue/window/progress_bar.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "shell/support/keyboard_and_screen_reader.h"
#include "tables_window_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace quintabel {
namespace {

using testing::AccessibleSummary;
using testing::accessibleSummary;

class Form2AccessibilityTest : public testing::TablesWindowTest {
protected:
    Form2AccessibilityTest()
    {
        form.Form_Load();
        for (const char* name : {"customers", "orders", "invoices"})
            addTableName(*form.List1, QLatin1String(name));
        testing::showActive(form);
    }

    QStringList selected(const QListWidget& list)
    {
        QStringList names;
        for (const QListWidgetItem* item : list.selectedItems())
            names << item->text();
        names.sort();
        return names;
    }
};

TEST_F(Form2AccessibilityTest, EveryControlIsAnnouncedByItsCaption)
{
    const std::pair<QWidget*, AccessibleSummary> expected[] = {
        {form.Frame1, {"MySQL Tables", QAccessible::Grouping}},
        {form.List1, {"MySQL Tables", QAccessible::List}},
        {form.PushButton10, {"Select All", QAccessible::Button}},
        {form.PushButton11, {"Deselect All", QAccessible::Button}},
        {form.PushButton3, {"Send Table/s To Paradox", QAccessible::Button}},
        {form.Check15, {"Send with data type customization", QAccessible::CheckBox}},
        {form.PushButton1, {"Delete Table/s", QAccessible::Button}},
        {form.PushButton6, {"Rename Table", QAccessible::Button}},
        {form.Frame2, {"Paradox Tables", QAccessible::Grouping}},
        {form.List2, {"Paradox Tables", QAccessible::List}},
        {form.PushButton8, {"Select All", QAccessible::Button}},
        {form.PushButton9, {"Deselect All", QAccessible::Button}},
        {form.PushButton4, {"Send Table/s To MySQL", QAccessible::Button}},
        {form.Check16, {"Send with data type customization", QAccessible::CheckBox}},
        {form.PushButton5, {"Delete Table/s", QAccessible::Button}},
        {form.PushButton7, {"Rename Table", QAccessible::Button}},
        {form.ProgressBar1, {"Progress Bar", QAccessible::ProgressBar}},
        {form.PushButton2, {"< Back", QAccessible::Button}},
        {form.PushButton12, {"Help", QAccessible::Button}},
    };
    for (const auto& [control, summary] : expected)
        EXPECT_EQ(accessibleSummary(*control), summary) << control->objectName().toStdString();
}

TEST_F(Form2AccessibilityTest, ProgressBarAnnouncesTheValueATransferGivesIt)
{
    QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(form.ProgressBar1)->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 100);
    form.ProgressBar1->setValue(42);
    EXPECT_EQ(value->currentValue().toInt(), 42);
    // The name stays what the bar shows while no transfer runs, whatever the value.
    EXPECT_EQ(accessibleSummary(*form.ProgressBar1).name, QStringLiteral("Progress Bar"));
}

TEST_F(Form2AccessibilityTest, ProgressBarKeepsItsNameWhileItNamesTheRowsOfATable)
{
    QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(form.ProgressBar1)->valueInterface();
    ASSERT_NE(value, nullptr);
    form.ProgressBar1->showRowProgress(QStringLiteral("ORDERS"), 1234, 5000);
    EXPECT_EQ(value->currentValue().toInt(), 24);
    EXPECT_EQ(accessibleSummary(*form.ProgressBar1).name, QStringLiteral("Progress Bar"));
    form.ProgressBar1->showIdle();
    EXPECT_EQ(value->currentValue().toInt(), 0);
    EXPECT_EQ(accessibleSummary(*form.ProgressBar1).name, QStringLiteral("Progress Bar"));
}

TEST_F(Form2AccessibilityTest, TabVisitsTheControlsInTheWindowsOrder)
{
    // Frames and the progress bar take no focus.
    const std::vector<QWidget*> order = {
        form.List1,       form.List2,       form.PushButton10, form.PushButton11, form.PushButton3,
        form.PushButton1, form.PushButton6, form.PushButton8,  form.PushButton9,  form.PushButton4,
        form.PushButton5, form.PushButton7, form.PushButton2,  form.Check15,      form.Check16,
        form.PushButton12, form.List1};
    EXPECT_EQ(testing::focusWalk(*form.List1, order.size() - 1, Qt::Key_Tab), order);
}

TEST_F(Form2AccessibilityTest, FocusIsVisibleOnEveryControl)
{
    EXPECT_EQ(testing::controlsWithoutVisibleFocus(form, 16), QStringList());
}

TEST_F(Form2AccessibilityTest, KeysPressButtonsTickBoxesAndSelectInTheLists)
{
    form.PushButton10->setFocus();
    QTest::keyClick(form.PushButton10, Qt::Key_Return); // "Select All"
    EXPECT_EQ(selected(*form.List1), QStringList({"customers", "invoices", "orders"}));
    form.PushButton11->setFocus();
    QTest::keyClick(form.PushButton11, Qt::Key_Space); // "Deselect All"
    EXPECT_TRUE(selected(*form.List1).isEmpty());

    form.Check15->setFocus();
    QTest::keyClick(form.Check15, Qt::Key_Space);
    EXPECT_TRUE(form.Check15->isChecked());

    // The usual list keys: arrows move, Shift+arrow extends, Ctrl+Space toggles, Ctrl+A takes all.
    form.List1->setFocus();
    setListIndex(*form.List1, 0);
    QTest::keyClick(form.List1, Qt::Key_Down);
    EXPECT_EQ(selected(*form.List1), QStringList({"invoices"}));
    QTest::keyClick(form.List1, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(selected(*form.List1), QStringList({"invoices", "orders"}));
    QTest::keyClick(form.List1, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(selected(*form.List1), QStringList({"invoices"}));
    QTest::keyClick(form.List1, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selected(*form.List1), QStringList({"customers", "invoices", "orders"}));

    form.PushButton12->setFocus();
    QTest::keyClick(form.PushButton12, Qt::Key_Enter, Qt::KeypadModifier); // "Help"
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].text.startsWith(QStringLiteral("Questions? Please contact")));
}

} // namespace
} // namespace quintabel
