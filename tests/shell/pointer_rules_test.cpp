#include "shell/pointer_rules.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace quintabel {
namespace {

const QString kShippedCursor = QStringLiteral(QUINTABEL_SOURCE_DIR "/resources/HAND-M.CUR");

void hover(QWidget& widget)
{
    const QPointF inside(2, 2);
    QEnterEvent enter(inside, inside, widget.mapToGlobal(inside));
    QApplication::sendEvent(&widget, &enter);
    QMouseEvent move(QEvent::MouseMove, inside, widget.mapToGlobal(inside), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

TEST(HandCursor, TheShippedCursorFileLoadsWithItsHotSpotAtTheFingertip)
{
    const QCursor hand = loadHandCursor(kShippedCursor);
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.hotSpot(), QPoint(6, 0));
    const QImage image = hand.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(image.pixel(6, 0)), 255);  // the fingertip's outline
    EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0);  // clear around the hand
}

class PointerRulesTest : public ::testing::Test {
protected:
    PointerRulesTest()
    {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(&frame);
        auto* inner = new QVBoxLayout(&frame);
        inner->addWidget(&field);
        inner->addWidget(&button);
        rules.watchSurface(frame);
        rules.watchSurface(field);
        rules.watchButton(button);
        window.show();
    }

    Qt::CursorShape shown() const { return window.cursor().shape(); }

    QWidget window;
    QFrame frame;
    QLineEdit field;
    QPushButton button{QStringLiteral("Next >")};
    PointerRules& rules = *new PointerRules(window);
};

TEST_F(PointerRulesTest, HandOverButtonsDefaultElsewhere)
{
    rules.setHandImage(loadHandCursor(kShippedCursor));
    hover(button);
    EXPECT_EQ(rules.shape(), PointerShape::Hand);
    EXPECT_EQ(shown(), Qt::BitmapCursor);
    hover(field);
    EXPECT_EQ(rules.shape(), PointerShape::Default);
    EXPECT_EQ(shown(), Qt::ArrowCursor);
    EXPECT_FALSE(field.testAttribute(Qt::WA_SetCursor)); // no I-beam of its own
    hover(button);
    hover(frame);
    EXPECT_EQ(rules.shape(), PointerShape::Default);
    hover(window);
    EXPECT_EQ(shown(), Qt::ArrowCursor);
}

TEST_F(PointerRulesTest, BusyPointerStaysWhileHoveringAnything)
{
    rules.setShape(PointerShape::Busy);
    for (QWidget* widget : std::initializer_list<QWidget*>{&button, &field, &frame, &window}) {
        hover(*widget);
        EXPECT_EQ(rules.shape(), PointerShape::Busy);
        EXPECT_EQ(shown(), Qt::WaitCursor);
    }
    rules.setShape(PointerShape::Default);
    hover(button);
    EXPECT_EQ(rules.shape(), PointerShape::Hand);
}

TEST_F(PointerRulesTest, WithoutACursorFileTheHandShowsTheArrow)
{
    EXPECT_FALSE(rules.hasHandImage());
    hover(button);
    EXPECT_EQ(rules.shape(), PointerShape::Hand);
    EXPECT_EQ(shown(), Qt::ArrowCursor);
}

} // namespace
} // namespace quintabel
