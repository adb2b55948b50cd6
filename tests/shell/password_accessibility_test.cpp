// The mask between a password field's accessibility events and the platform's bridge.

#include "shell/password_accessibility.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <vector>

namespace quintabel {
namespace {

struct HeardEvent {
    QAccessible::Event type;
    QString removed;
    QString inserted;
    int position;
    int cursor;
};

std::vector<HeardEvent> heard;

HeardEvent describe(const QAccessibleEvent& event)
{
    switch (event.type()) {
    case QAccessible::TextInserted: {
        const auto& inserted = static_cast<const QAccessibleTextInsertEvent&>(event);
        return {event.type(), {}, inserted.textInserted(), inserted.changePosition(), inserted.cursorPosition()};
    }
    case QAccessible::TextRemoved: {
        const auto& removed = static_cast<const QAccessibleTextRemoveEvent&>(event);
        return {event.type(), removed.textRemoved(), {}, removed.changePosition(), removed.cursorPosition()};
    }
    case QAccessible::TextUpdated: {
        const auto& updated = static_cast<const QAccessibleTextUpdateEvent&>(event);
        return {event.type(), updated.textRemoved(), updated.textInserted(), updated.changePosition(),
                updated.cursorPosition()};
    }
    default:
        return {event.type(), {}, {}, -1, -1};
    }
}

void listen(QAccessibleEvent* event)
{
    heard.push_back(describe(*event));
}

class PasswordAccessibilityTest : public ::testing::Test {
protected:
    PasswordAccessibilityTest()
    {
        password.setEchoMode(QLineEdit::Password);
        hidden.setEchoMode(QLineEdit::NoEcho);
        heard.clear();
    }

    ~PasswordAccessibilityTest() override
    {
        // As the program runs: the mask straight above the platform's bridge.
        QAccessible::installUpdateHandler(nullptr);
        maskPasswordsInAccessibilityEvents();
    }

    QLineEdit password;
    QLineEdit hidden;
    QLineEdit plain;
};

TEST_F(PasswordAccessibilityTest, TextChangesOfAPasswordFieldCarryOnlyMaskCharacters)
{
    QAccessibleTextInsertEvent typed(&password, 3, QStringLiteral("k"));
    typed.setCursorPosition(4);
    QAccessibleTextRemoveEvent erased(&password, 2, QStringLiteral("ab"));
    erased.setCursorPosition(2);
    QAccessibleTextUpdateEvent restored(&password, 0, QStringLiteral("old"), QStringLiteral("secret"));
    restored.setCursorPosition(6);

    auto masked = passwordSafeEvent(typed);
    ASSERT_NE(masked, nullptr);
    EXPECT_EQ(masked->object(), &password);
    const HeardEvent insert = describe(*masked);
    EXPECT_EQ(insert.type, QAccessible::TextInserted);
    EXPECT_EQ(insert.inserted, QStringLiteral("*"));
    EXPECT_EQ(insert.position, 3);
    EXPECT_EQ(insert.cursor, 4);

    masked = passwordSafeEvent(erased);
    ASSERT_NE(masked, nullptr);
    const HeardEvent remove = describe(*masked);
    EXPECT_EQ(remove.type, QAccessible::TextRemoved);
    EXPECT_EQ(remove.removed, QStringLiteral("**"));
    EXPECT_EQ(remove.position, 2);

    masked = passwordSafeEvent(restored);
    ASSERT_NE(masked, nullptr);
    const HeardEvent update = describe(*masked);
    EXPECT_EQ(update.type, QAccessible::TextUpdated);
    EXPECT_EQ(update.removed, QStringLiteral("***"));
    EXPECT_EQ(update.inserted, QStringLiteral("******"));
    EXPECT_EQ(update.cursor, 6);

    // A field that shows nothing tells nothing, not even the length.
    masked = passwordSafeEvent(QAccessibleTextInsertEvent(&hidden, 0, QStringLiteral("secret")));
    ASSERT_NE(masked, nullptr);
    EXPECT_EQ(describe(*masked).inserted, QString());
}

TEST_F(PasswordAccessibilityTest, OtherEventsAndOtherFieldsTravelAsTheyAre)
{
    EXPECT_EQ(passwordSafeEvent(QAccessibleTextInsertEvent(&plain, 0, QStringLiteral("localhost"))), nullptr);
    EXPECT_EQ(passwordSafeEvent(QAccessibleEvent(&password, QAccessible::Focus)), nullptr);
    EXPECT_EQ(passwordSafeEvent(QAccessibleTextCursorEvent(&password, 3)), nullptr);
    // A field whose echo is switched on again is an ordinary field from then on.
    password.setEchoMode(QLineEdit::Normal);
    EXPECT_EQ(passwordSafeEvent(QAccessibleTextInsertEvent(&password, 0, QStringLiteral("x"))), nullptr);
}

TEST_F(PasswordAccessibilityTest, TheMaskHandsEveryEventOnceToTheHandlerBelowIt)
{
    QAccessible::installUpdateHandler(&listen);
    maskPasswordsInAccessibilityEvents();
    maskPasswordsInAccessibilityEvents(); // again: still one mask, above the listener

    QAccessibleTextInsertEvent typed(&password, 0, QStringLiteral("pw"));
    handOnWithPasswordsMasked(&typed);
    QAccessibleTextInsertEvent server(&plain, 0, QStringLiteral("localhost"));
    handOnWithPasswordsMasked(&server);

    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].inserted, QStringLiteral("**"));
    EXPECT_EQ(heard[1].inserted, QStringLiteral("localhost"));
}

} // namespace
} // namespace quintabel
