#include "shell/support/keyboard_and_screen_reader.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace quintabel::testing {

void PrintTo(const AccessibleSummary& summary, std::ostream* out)
{
    *out << '"' << summary.name.toStdString() << "\" role 0x" << std::hex << summary.role << std::dec;
}

AccessibleSummary accessibleSummary(QWidget& control)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&control);
    if (accessible == nullptr)
        return {};
    return {accessible->text(QAccessible::Name), accessible->role()};
}

void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << window.objectName().toStdString();
}

std::vector<QWidget*> focusWalk(QWidget& first, std::size_t presses, int key)
{
    first.setFocus(Qt::OtherFocusReason);
    std::vector<QWidget*> visited{QApplication::focusWidget()};
    for (std::size_t press = 0; press < presses; ++press) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr)
            break;
        QTest::keyClick(focused, static_cast<Qt::Key>(key));
        visited.push_back(QApplication::focusWidget());
    }
    return visited;
}

QStringList controlsWithoutVisibleFocus(QWidget& window, std::size_t presses)
{
    const auto areaOf = [&window](QWidget& control) {
        return QRect(control.mapTo(&window, QPoint(0, 0)), control.size()).adjusted(-2, -2, 2, 2);
    };
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    std::map<QWidget*, QImage> unfocusedLooks;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->isVisible())
            unfocusedLooks[control] = window.grab(areaOf(*control)).toImage();
    }
    QStringList unmarked;
    std::size_t reached = 0;
    for (std::size_t press = 0; press < presses; ++press) {
        QWidget* from = QApplication::focusWidget();
        QTest::keyClick(from != nullptr ? from : &window, Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr || !unfocusedLooks.contains(focused))
            continue;
        ++reached;
        if (window.grab(areaOf(*focused)).toImage() == unfocusedLooks[focused] && !unmarked.contains(focused->objectName()))
            unmarked << focused->objectName();
    }
    EXPECT_EQ(reached, presses) << "Tab left the controls of " << window.objectName().toStdString();
    return unmarked;
}

} // namespace quintabel::testing
