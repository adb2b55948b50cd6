#include "shell/empty_list_focus.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionFocusRect>

namespace quintabel {

namespace {

class EmptyListFocus final : public QObject {
public:
    explicit EmptyListFocus(QAbstractItemView& list) : QObject(&list), list_(list), viewport_(list.viewport()) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // The list repaints only its current item on a change of focus, and an empty list
            // has none. Nothing of the list itself is asked here: a list that is being
            // destroyed loses its focus too, when it is a list no more.
            if (watched == &list_ && viewport_ != nullptr)
                viewport_->update();
            break;
        case QEvent::Paint:
            // Drawn before the list paints itself, which draws nothing over it while it is empty.
            if (watched == viewport_ && list_.hasFocus() && isEmpty())
                paintFocusFrame();
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool isEmpty() const { return list_.model() == nullptr || list_.model()->rowCount(list_.rootIndex()) == 0; }

    void paintFocusFrame()
    {
        QPainter painter(viewport_);
        QStyleOptionFocusRect frame;
        frame.initFrom(&list_);
        frame.rect = viewport_->rect().adjusted(1, 1, -1, -1);
        frame.backgroundColor = list_.palette().color(QPalette::Base);
        list_.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, &list_);
    }

    QAbstractItemView& list_;
    QPointer<QWidget> viewport_;
};

} // namespace

void showFocusWhenEmpty(QAbstractItemView& list)
{
    auto* filter = new EmptyListFocus(list);
    list.installEventFilter(filter);
    list.viewport()->installEventFilter(filter);
}

} // namespace quintabel
