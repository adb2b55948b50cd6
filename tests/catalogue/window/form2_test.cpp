#include "catalogue/window/form2.h"

#include "catalogue/window/progress_bar.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "base/settings_store.h"
#include "tables_window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

namespace quintabel {
namespace {

class Form2Test : public testing::TablesWindowTest {
protected:
    Form2Test()
    {
        form.Form_Load();
        form.show();
    }

    QString stored(const char* key) { return readSetting(QLatin1String(key), QStringLiteral("<none>")); }

    // Entering a control, then moving over it with no mouse button down, delivered as the
    // window system delivers it: on to the parents when the control lets it pass.
    void hover(QWidget& widget)
    {
        const QPointF inside(2, 2);
        QEnterEvent enter(inside, inside, widget.mapToGlobal(inside));
        QApplication::sendEvent(&widget, &enter);
        QMouseEvent move(QEvent::MouseMove, inside, widget.mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
    }
};

TEST_F(Form2Test, ListsKeepACaseBlindOrderAndSelectAllLeavesTheCurrentItem)
{
    for (const char* name : {"orders", "Customers", "ZIP codes", "accounts", "Orders"})
        addTableName(*form.List1, QLatin1String(name));
    form.List1->addItem(QStringLiteral("Bills")); // added the plain Qt way
    EXPECT_EQ(testing::ItemTexts(*form.List1),
              (QStringList{QStringLiteral("accounts"), QStringLiteral("Bills"), QStringLiteral("Customers"),
                           QStringLiteral("Orders"), QStringLiteral("orders"), QStringLiteral("ZIP codes")}));

    setListIndex(*form.List1, 2);
    form.PushButton8->click(); // the other, empty list: nothing happens
    form.PushButton10->click();
    EXPECT_EQ(testing::SelectedTexts(*form.List1).size(), 6);
    form.PushButton11->click();
    EXPECT_TRUE(testing::SelectedTexts(*form.List1).isEmpty());
    EXPECT_EQ(listIndex(*form.List1), 2);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Form2Test, EachBoxStoresItsStateUnderItsOwnKeyOnEveryChange)
{
    using namespace settings_keys;
    form.Check15->click();
    EXPECT_EQ(stored(kWithDataTypeChange1), QStringLiteral("1"));
    EXPECT_EQ(stored(kWithDataTypeChange2), QStringLiteral("<none>"));
    form.Check15->click();
    EXPECT_EQ(stored(kWithDataTypeChange1), QStringLiteral("0"));
    form.Check16->setChecked(true); // a change made by the program stores itself too
    EXPECT_EQ(stored(kWithDataTypeChange2), QStringLiteral("1"));
}

TEST_F(Form2Test, PointerKeepsTheHandOverBoxesAndTheProgressBarButNeverReplacesBusy)
{
    hover(*form.PushButton3);
    hover(*form.Check15);
    hover(*form.ProgressBar1);
    EXPECT_EQ(form.pointer().shape(), PointerShape::Hand);
    hover(*form.List2);
    EXPECT_EQ(form.pointer().shape(), PointerShape::Default);
    form.pointer().setShape(PointerShape::Busy);
    hover(*form.PushButton12);
    EXPECT_EQ(form.pointer().shape(), PointerShape::Busy);
}

TEST_F(Form2Test, ClicksWhileALongOperationRunsAreIgnoredAndItsFailuresReported)
{
    int sends = 0;
    int deletes = 0;
    form.setSendToParadoxBody([&](StepGuard& guard) {
        ++sends;
        EXPECT_EQ(guard.location(), QStringLiteral("in Tabulex2021/08/31.Form2.PushButton3_Click "));
        // What the user can click while the transfer yields to the window system:
        form.PushButton3->click();
        form.PushButton1->click();
        form.PushButton2->click();
        throw std::runtime_error("lost connection"); // outside every labelled step
    });
    form.setDeleteMySqlTablesBody([&](StepGuard&) { ++deletes; });

    form.PushButton3->click();
    EXPECT_EQ(sends, 1);
    EXPECT_EQ(deletes, 0);
    EXPECT_TRUE(form.isVisible()); // "< Back" was ignored too
    ASSERT_EQ(boxes.errorReports().size(), 1u);
    EXPECT_TRUE(boxes.errorReports()[0].text.startsWith(QStringLiteral("lost connection\r\n")));

    form.PushButton1->click(); // once the first has ended, the next runs
    EXPECT_EQ(deletes, 1);
    form.pointer().setShape(PointerShape::Busy);
    form.PushButton1->click();
    EXPECT_EQ(deletes, 1);
}

} // namespace
} // namespace quintabel
