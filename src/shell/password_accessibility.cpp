#include "shell/password_accessibility.h"

#include <QLineEdit>
#include <QScopeGuard>

namespace quintabel {

namespace {

QAccessible::UpdateHandler handlerBelow = nullptr;

// What the field shows in place of `text`.
QString maskedText(const QLineEdit& field, const QString& text)
{
    if (field.echoMode() == QLineEdit::NoEcho)
        return QString();
    return QString(text.size(), QLatin1Char('*'));
}

const QLineEdit* fieldHidingItsText(const QAccessibleEvent& event)
{
    const auto* field = qobject_cast<const QLineEdit*>(event.object());
    if (field == nullptr || field->echoMode() == QLineEdit::Normal)
        return nullptr;
    return field;
}

void deliver(QAccessibleEvent* event)
{
    if (handlerBelow != nullptr) {
        handlerBelow(event);
        return;
    }
    // Qt has updateAccessibility as its only public way to the platform's bridge, and that call
    // gives every event to the installed handler instead. So the mask steps aside for the one
    // call. That call would also apply a table's model change a second time, before the bridge
    // sees it; the Linux bridge does nothing with model changes, and the table's own bookkeeping
    // has already been done, so they stop here.
    if (event->type() == QAccessible::TableModelChanged)
        return;
    QAccessible::installUpdateHandler(nullptr);
    const auto backOnTop = qScopeGuard([] { QAccessible::installUpdateHandler(&handOnWithPasswordsMasked); });
    QAccessible::updateAccessibility(event);
}

} // namespace

std::unique_ptr<QAccessibleEvent> passwordSafeEvent(const QAccessibleEvent& event)
{
    const QLineEdit* field = fieldHidingItsText(event);
    if (field == nullptr)
        return nullptr;
    QObject* const source = event.object();
    switch (event.type()) {
    case QAccessible::TextInserted: {
        const auto& inserted = static_cast<const QAccessibleTextInsertEvent&>(event);
        auto masked = std::make_unique<QAccessibleTextInsertEvent>(source, inserted.changePosition(),
                                                                   maskedText(*field, inserted.textInserted()));
        masked->setCursorPosition(inserted.cursorPosition());
        return masked;
    }
    case QAccessible::TextRemoved: {
        const auto& removed = static_cast<const QAccessibleTextRemoveEvent&>(event);
        auto masked = std::make_unique<QAccessibleTextRemoveEvent>(source, removed.changePosition(),
                                                                   maskedText(*field, removed.textRemoved()));
        masked->setCursorPosition(removed.cursorPosition());
        return masked;
    }
    case QAccessible::TextUpdated: {
        const auto& updated = static_cast<const QAccessibleTextUpdateEvent&>(event);
        auto masked = std::make_unique<QAccessibleTextUpdateEvent>(
            source, updated.changePosition(), maskedText(*field, updated.textRemoved()),
            maskedText(*field, updated.textInserted()));
        masked->setCursorPosition(updated.cursorPosition());
        return masked;
    }
    default:
        return nullptr;
    }
}

void handOnWithPasswordsMasked(QAccessibleEvent* event)
{
    const std::unique_ptr<QAccessibleEvent> masked = passwordSafeEvent(*event);
    deliver(masked ? masked.get() : event);
}

void maskPasswordsInAccessibilityEvents()
{
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(&handOnWithPasswordsMasked);
    if (previous != &handOnWithPasswordsMasked)
        handlerBelow = previous;
}

} // namespace quintabel
