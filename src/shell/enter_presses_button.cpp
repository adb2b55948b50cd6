#include "shell/enter_presses_button.h"

#include <QKeyEvent>
#include <QPushButton>

namespace quintabel {

namespace {

class EnterPressesButton final : public QObject {
public:
    explicit EnterPressesButton(QPushButton& button) : QObject(&button), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &button_ || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // The keypad's Enter arrives with the keypad modifier; any other modifier makes a
        // different key combination, which is left to the window.
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat())
            button_.click();
        return true;
    }

private:
    QPushButton& button_;
};

} // namespace

void letEnterPressButton(QPushButton& button)
{
    button.installEventFilter(new EnterPressesButton(button));
}

} // namespace quintabel
