#include "shell/empty_list_focus.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace quintabel {

namespace {

class EmptyListFocus final : public QObject {
public:
    explicit EmptyListFocus(QAbstractItemView& list) : QObject(&list), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &list_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
            // The list repaints only its current item on a change of focus, and it has none.
            if (isEmpty())
                list_.viewport()->update();
        } else if (event->type() == QEvent::Paint && watched == list_.viewport() && list_.hasFocus() && isEmpty()) {
            // Drawn before the list paints itself, which draws nothing over it while it is empty.
            QPainter painter(list_.viewport());
            QStyleOptionFocusRect frame;
            frame.initFrom(&list_);
            frame.rect = list_.viewport()->rect().adjusted(1, 1, -1, -1);
            frame.backgroundColor = list_.palette().color(QPalette::Base);
            list_.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, &list_);
        }
        return false;
    }

private:
    bool isEmpty() const { return list_.model() == nullptr || list_.model()->rowCount(list_.rootIndex()) == 0; }

    QAbstractItemView& list_;
};

} // namespace

void ShowFocusWhenEmpty(QAbstractItemView& list)
{
    auto* filter = new EmptyListFocus(list);
    list.installEventFilter(filter);
    list.viewport()->installEventFilter(filter);
}

} // namespace quintabel
