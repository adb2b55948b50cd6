// The data type customisation window as a keyboard user and a screen reader meet it, over a
// real Paradox source table (no server needed).

#include "customise/window/form3.h"
#include "customise_sources.h"

#include "shell/support/keyboard_and_screen_reader.h"
#include "shell/support/scripted_message_boxes.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace quintabel {
namespace {

using testing::AccessibleSummary;
using testing::accessibleSummary;
using quintabel::CustomiseHandoff;
using Script = std::function<void(Form3&)>;

class Form3AccessibilityTest : public ::testing::Test {
protected:
    Form3AccessibilityTest() { testing::copyParadoxTable("rparadox/TypSammlung", folder); }

    // Shows the window as a transfer to MySQL does; `script` plays the user while it is open.
    CustomiseHandoff show(const Script& script)
    {
        Form3::Environment environment;
        environment.programFolder = QString::fromStdString(folder.string());
        environment.connectionFields = [this] {
            ConnectionFields fields;
            fields.paradoxFolder = QString::fromStdString(folder.string());
            return fields;
        };
        environment.openWebPage = [](const QUrl&) {};
        environment.runModalLoop = [&script](QDialog& window) {
            testing::showActive(window);
            script(static_cast<Form3&>(window));
        };
        Form3 form(environment);
        CustomiseHandoff handoff = beginCustomisation(TargetKind::MySQL, "TypSammlung");
        form.showModal(handoff);
        return handoff;
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::TemporaryFolder folder;
};

TEST_F(Form3AccessibilityTest, EveryControlIsAnnouncedByItsCaptionAndTabVisitsThemInOrderVisibly)
{
    show([](Form3& form) {
        ASSERT_GT(form.List1->count(), 1);
        const std::pair<QWidget*, AccessibleSummary> expected[] = {
            {form.PushButton3, {"Help", QAccessible::Button}},
            {form.Frame1, {"Fields", QAccessible::Grouping}},
            {form.List1, {"Fields", QAccessible::List}},
            {form.Frame2, {"Data Type", QAccessible::Grouping}},
            {form.List2, {"Data Type", QAccessible::List}},
            {form.Frame3, {"Change Selected Data Type To This", QAccessible::Grouping}},
            {form.Text1, {"Change Selected Data Type To This", QAccessible::EditableText}},
            {form.PushButton1, {"Apply", QAccessible::Button}},
            {form.PushButton2, {"OK", QAccessible::Button}},
            {form.PushButton4, {"Cancel", QAccessible::Button}},
        };
        for (const auto& [control, summary] : expected)
            EXPECT_EQ(accessibleSummary(*control), summary) << control->objectName().toStdString();

        // Top to bottom, left to right, as the window is laid out.
        const std::vector<QWidget*> order = {form.PushButton3, form.List1,       form.List2,       form.Text1,
                                             form.PushButton1, form.PushButton2, form.PushButton4, form.PushButton3};
        EXPECT_EQ(testing::focusWalk(*form.PushButton3, order.size() - 1, Qt::Key_Tab), order);
        EXPECT_EQ(testing::controlsWithoutVisibleFocus(form, 7), QStringList());
        form.done(QDialog::Rejected);
    });
}

TEST_F(Form3AccessibilityTest, EscapeDoesWhatCancelDoes)
{
    // Without a change Escape closes at once, and the run is cancelled.
    CustomiseHandoff handoff = show([](Form3& form) {
        form.List1->setFocus();
        QTest::keyClick(form.List1, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(handoff.CustomizeCancelled);

    // After a change Escape asks first; Yes closes, and the run is still cancelled.
    handoff = show([this](Form3& form) {
        form.List1->setFocus();
        QTest::keyClick(form.List1, Qt::Key_Down); // a field chosen by keyboard
        const int row = form.List1->currentRow();
        ASSERT_GE(row, 0);
        EXPECT_EQ(form.List2->currentRow(), row);
        EXPECT_EQ(form.Text1->text(), form.List2->item(row)->text());
        form.Text1->setFocus();
        form.Text1->selectAll();
        QTest::keyClicks(form.Text1, QStringLiteral("tinyint"));
        QTest::keyClick(form.Text1, Qt::Key_Return); // a field's Return presses no button
        EXPECT_FALSE(form.changed());
        form.PushButton1->setFocus();
        QTest::keyClick(form.PushButton1, Qt::Key_Return); // "Apply"
        ASSERT_TRUE(form.changed());
        EXPECT_EQ(form.List2->item(row)->text(), QStringLiteral("tinyint"));

        boxes.answerNext(BoxAnswer::Yes);
        QTest::keyClick(form.PushButton1, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].buttons, BoxButtons::YesNo);
    EXPECT_TRUE(handoff.CustomizeCancelled);
    EXPECT_EQ(handoff.mSQL, "CREATE TABLE `TypSammlung`(");
}

TEST_F(Form3AccessibilityTest, ReturnOnTheFocusedOkButtonConfirms)
{
    const CustomiseHandoff handoff = show([](Form3& form) {
        form.PushButton2->setFocus();
        QTest::keyClick(form.PushButton2, Qt::Key_Return);
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_FALSE(handoff.CustomizeCancelled);
    EXPECT_TRUE(handoff.mSQL.starts_with("CREATE TABLE `TypSammlung`("));
    EXPECT_TRUE(handoff.mSQL.ends_with(")"));
}

} // namespace
} // namespace quintabel
