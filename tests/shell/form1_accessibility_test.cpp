// The connection window as a keyboard user and a screen reader meet it.

#include "shell/form1.h"

#include "base/settings_store.h"
#include "shell/support/keyboard_and_screen_reader.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace quintabel {
namespace {

using testing::AccessibleSummary;
using testing::accessibleSummary;

class Form1AccessibilityTest : public ::testing::Test {
protected:
    Form1::Environment environment()
    {
        Form1::Environment environment;
        environment.programFolder = programFolder.path();
        environment.drawWebSiteNumber = [] { return 1; };
        environment.openWebSite = [](const QUrl&) {};
        environment.endProgram = [] {};
        return environment;
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::TemporarySettings settings;
    QTemporaryDir programFolder;
};

TEST_F(Form1AccessibilityTest, EveryControlIsAnnouncedByItsCaption)
{
    Form1 form(environment());
    const std::pair<QWidget*, AccessibleSummary> expected[] = {
        {form.Frame1, {"Paradox Database", QAccessible::Grouping}},
        {form.Text1, {"Paradox Folder:", QAccessible::EditableText}},
        {form.PushButton5, {"Browse for the Paradox folder", QAccessible::Button}},
        {form.PushButton4, {"Load Sample/Example Database", QAccessible::Button}},
        {form.PushButton3, {"Test Connection", QAccessible::Button}},
        {form.Frame2, {"MySQL Login", QAccessible::Grouping}},
        {form.Text2, {"Server:", QAccessible::EditableText}},
        {form.Text3, {"Port:", QAccessible::EditableText}},
        {form.Text4, {"Username:", QAccessible::EditableText}},
        {form.Text5, {"Password:", QAccessible::EditableText}},
        {form.Text6, {"Database:", QAccessible::EditableText}},
        {form.PushButton6, {"Test Connection", QAccessible::Button}},
        {form.PushButton1, {"Help", QAccessible::Button}},
        {form.PushButton2, {"Next >", QAccessible::Button}},
    };
    for (const auto& [control, summary] : expected)
        EXPECT_EQ(accessibleSummary(*control), summary) << control->objectName().toStdString();
    // The browse button's caption stays what the window shows.
    EXPECT_EQ(form.PushButton5->text(), QStringLiteral("..."));
}

TEST_F(Form1AccessibilityTest, PasswordFieldTellsAssistiveTechnologyNoPasswordCharacter)
{
    writeSetting(QString::fromLatin1(settings_keys::kPassword), QStringLiteral("Stored7"));
    Form1 form(environment());
    form.Form_Load();
    testing::showActive(form);
    form.Text5->setFocus();
    form.Text5->end(false);
    QTest::keyClicks(form.Text5, QStringLiteral("xyz"));
    ASSERT_EQ(form.Text5->text(), QStringLiteral("Stored7xyz"));

    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(form.Text5);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->state().passwordEdit);
    const QString value = field->text(QAccessible::Value);
    EXPECT_EQ(value, QStringLiteral("**********"));

    QAccessibleTextInterface* text = field->textInterface();
    ASSERT_NE(text, nullptr);
    int start = 0;
    int end = 0;
    const QString read[] = {
        text->text(0, text->characterCount()),
        text->textAtOffset(3, QAccessible::LineBoundary, &start, &end),
        text->textBeforeOffset(5, QAccessible::CharBoundary, &start, &end),
        text->textAfterOffset(5, QAccessible::WordBoundary, &start, &end),
    };
    for (const QString& piece : read) {
        for (const QChar character : QStringLiteral("Stored7xyz"))
            EXPECT_FALSE(piece.contains(character)) << piece.toStdString();
    }
}

TEST_F(Form1AccessibilityTest, TabVisitsTheControlsInTheWindowsOrderAndShiftTabGoesBack)
{
    Form1 form(environment());
    form.Form_Load();
    testing::showActive(form);
    const std::vector<QWidget*> order = {form.Text1,       form.PushButton5, form.Combo1,      form.PushButton3,
                                         form.Text2,       form.Text3,       form.Text4,       form.Text5,
                                         form.Text6,       form.PushButton6, form.PushButton1, form.PushButton2,
                                         form.PushButton4, form.Text1};
    EXPECT_EQ(testing::focusWalk(*form.Text1, order.size() - 1, Qt::Key_Tab), order);
    const std::vector<QWidget*> backwards(order.rbegin(), order.rend());
    EXPECT_EQ(testing::focusWalk(*form.Text1, order.size() - 1, Qt::Key_Backtab), backwards);

    // Tabbing into a field still selects its whole text, so typing replaces it.
    testing::focusWalk(*form.PushButton5, 3, Qt::Key_Tab);
    EXPECT_EQ(form.Text2->selectedText(), QStringLiteral("localhost"));
}

TEST_F(Form1AccessibilityTest, FocusIsVisibleOnEveryControl)
{
    Form1 form(environment());
    form.Form_Load();
    testing::showActive(form);
    EXPECT_EQ(testing::controlsWithoutVisibleFocus(form, 13), QStringList());
}

TEST_F(Form1AccessibilityTest, SpaceReturnAndEnterPressTheFocusedButtonOnly)
{
    Form1 form(environment());
    testing::showActive(form);
    int browsed = 0;
    form.setBrowseBody([&browsed](StepGuard&) { ++browsed; });

    form.PushButton5->setFocus();
    QTest::keyClick(form.PushButton5, Qt::Key_Space);
    QTest::keyClick(form.PushButton5, Qt::Key_Return);
    QTest::keyClick(form.PushButton5, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(browsed, 3);

    // A held key presses once; a key with Ctrl is another combination.
    QTest::sendKeyEvent(QTest::KeyAction::Press, form.PushButton5, Qt::Key_Return, QString(), Qt::NoModifier);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(form.PushButton5, &repeated);
    QTest::sendKeyEvent(QTest::KeyAction::Release, form.PushButton5, Qt::Key_Return, QString(), Qt::NoModifier);
    QTest::keyClick(form.PushButton5, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(browsed, 4);

    // Return in a field presses no button.
    form.Text1->setFocus();
    QTest::keyClick(form.Text1, Qt::Key_Return);
    EXPECT_EQ(browsed, 4);

    form.PushButton1->setFocus();
    QTest::keyClick(form.PushButton1, Qt::Key_Return);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].text.startsWith(QStringLiteral("If you cannot establish connection")));
}

} // namespace
} // namespace quintabel
