#include "catalogue/form2.h"

#include "catalogue/progress_bar.h"
#include "catalogue/table_name_list.h"
#include "catalogue_test_support.h"
#include "shell/application_title.h"
#include "shell/settings_store.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace quintabel {
namespace {

using settings_keys::kWithDataTypeChange1;
using settings_keys::kWithDataTypeChange2;

class Form2Test : public ::testing::Test {
protected:
    Form2Test()
    {
        connectionWindow.show();
        form.Form_Load();
    }

    QString stored(const char* key) { return ReadSetting(QLatin1String(key), QStringLiteral("<none>")); }

    void hover(QWidget& widget)
    {
        const QPointF inside(2, 2);
        QEnterEvent enter(inside, inside, widget.mapToGlobal(inside));
        QApplication::sendEvent(&widget, &enter);
        moveOver(widget);
    }

    // A move with no mouse button down, delivered as the window system delivers it: to the
    // control under the pointer, and on to its parents when the control lets it pass.
    void moveOver(QWidget& widget)
    {
        const QPointF inside(2, 2);
        QMouseEvent move(QEvent::MouseMove, inside, widget.mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::TemporarySettings settings;
    QTemporaryDir programFolder;
    int programEnds = 0;
    QWidget connectionWindow;
    Form2 form{testing::QuietTablesWindow(programFolder.path(), programEnds), connectionWindow};
};

TEST_F(Form2Test, ControlsCarryTheirCaptionsPlacesAndFonts)
{
    const std::pair<QAbstractButton*, const char*> captions[] = {
        {form.PushButton10, "Select All"},   {form.PushButton11, "Deselect All"},
        {form.PushButton3, "Send Table/s To Paradox"}, {form.Check15, "Send with data type customization"},
        {form.PushButton1, "Delete Table/s"}, {form.PushButton6, "Rename Table"},
        {form.PushButton8, "Select All"},    {form.PushButton9, "Deselect All"},
        {form.PushButton4, "Send Table/s To MySQL"}, {form.Check16, "Send with data type customization"},
        {form.PushButton5, "Delete Table/s"}, {form.PushButton7, "Rename Table"},
        {form.PushButton2, "< Back"},        {form.PushButton12, "Help"},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(control->text(), QLatin1String(caption)) << control->objectName().toStdString();
    EXPECT_EQ(form.Frame1->title(), QStringLiteral("MySQL Tables"));
    EXPECT_EQ(form.Frame2->title(), QStringLiteral("Paradox Tables"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quintabel"));

    // Twips at 15 to the pixel; places inside a frame are relative to it.
    EXPECT_EQ(form.Frame2->geometry(), QRect(272, 8, 256, 313));
    EXPECT_EQ(form.List2->parentWidget(), form.Frame2);
    EXPECT_EQ(form.List2->geometry(), QRect(16, 24, 222, 109));
    EXPECT_EQ(form.ProgressBar1->geometry(), QRect(8, 329, 520, 27));
    EXPECT_EQ(form.width(), 536);
    // The load sets the height from the position of "< Back" (top 364, height 27).
    EXPECT_EQ(form.height(), 364 + 27 + 7);

    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        EXPECT_EQ(button->font().family(), QStringLiteral("Arial"));
        EXPECT_TRUE(button->font().bold());
        EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 11.25);
    }
    for (QWidget* inherits : std::initializer_list<QWidget*>{form.Frame1, form.List1, form.Check16, form.ProgressBar1}) {
        EXPECT_TRUE(inherits->font().bold());
        EXPECT_DOUBLE_EQ(inherits->font().pointSizeF(), 9);
    }
}

TEST_F(Form2Test, TabOrderStartsAtTheMySqlListAndEndsAtHelp)
{
    const std::vector<QWidget*> expected = {
        form.List1,       form.List2,       form.PushButton10, form.PushButton11, form.PushButton3, form.PushButton1,
        form.PushButton6, form.PushButton8, form.PushButton9,  form.PushButton4,  form.PushButton5, form.PushButton7,
        form.PushButton2, form.Check15,     form.Check16,      form.PushButton12};
    QWidget* current = expected.front();
    for (size_t i = 1; i < expected.size(); ++i) {
        do
            current = current->nextInFocusChain();
        while (current->focusPolicy() == Qt::NoFocus);
        EXPECT_EQ(current, expected[i]) << "after " << expected[i - 1]->objectName().toStdString() << " came "
                                        << current->objectName().toStdString();
    }
}

TEST_F(Form2Test, ListsSortWithoutRegardToCaseWhateverAddsTheNames)
{
    for (const char* name : {"orders", "Customers", "ZIP codes", "accounts", "Orders"})
        AddTableName(*form.List1, QLatin1String(name));
    // A name added the plain Qt way still takes its alphabetical place.
    form.List1->addItem(QStringLiteral("Bills"));
    EXPECT_EQ(testing::ItemTexts(*form.List1),
              (QStringList{QStringLiteral("accounts"), QStringLiteral("Bills"), QStringLiteral("Customers"),
                           QStringLiteral("Orders"), QStringLiteral("orders"), QStringLiteral("ZIP codes")}));
    EXPECT_EQ(form.List1->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(form.List2->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(Form2Test, SelectAndDeselectAllLeaveTheCurrentItemWhereItWas)
{
    form.PushButton10->click(); // an empty list: nothing happens, nothing is reported
    for (const char* name : {"A", "B", "C"})
        AddTableName(*form.List1, QLatin1String(name));
    AddTableName(*form.List2, QStringLiteral("P"));
    SetListIndex(*form.List1, 2);

    form.PushButton10->click();
    EXPECT_EQ(SelectedTableNames(*form.List1), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_TRUE(SelectedTableNames(*form.List2).isEmpty()); // the other side is untouched
    form.PushButton11->click();
    EXPECT_TRUE(SelectedTableNames(*form.List1).isEmpty());
    EXPECT_EQ(ListIndex(*form.List1), 2);

    form.PushButton8->click();
    EXPECT_EQ(SelectedTableNames(*form.List2), QStringList{QStringLiteral("P")});
    EXPECT_EQ(ListIndex(*form.List2), -1);
    form.PushButton9->click();
    EXPECT_TRUE(SelectedTableNames(*form.List2).isEmpty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Form2Test, EachBoxStoresItsStateUnderItsOwnKeyOnEveryChange)
{
    EXPECT_FALSE(form.Check15->isChecked());
    EXPECT_FALSE(form.Check16->isChecked());
    form.Check15->click();
    EXPECT_EQ(stored(kWithDataTypeChange1), QStringLiteral("1"));
    EXPECT_EQ(stored(kWithDataTypeChange2), QStringLiteral("<none>"));
    form.Check15->click();
    EXPECT_EQ(stored(kWithDataTypeChange1), QStringLiteral("0"));
    form.Check16->setChecked(true); // a change made by the program stores itself too
    EXPECT_EQ(stored(kWithDataTypeChange2), QStringLiteral("1"));
}

TEST_F(Form2Test, BackShowsTheConnectionWindowAndKeepsTheLists)
{
    form.show();
    connectionWindow.hide();
    AddTableName(*form.List1, QStringLiteral("orders"));
    form.List1->item(0)->setSelected(true);
    form.PushButton2->click();
    EXPECT_TRUE(connectionWindow.isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(SelectedTableNames(*form.List1), QStringList{QStringLiteral("orders")});
}

TEST_F(Form2Test, HelpNamesTheContactPage)
{
    form.PushButton12->click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("Questions? Please contact Team Corvandel at ") +
                                         QLatin1String(kContactPage));
    EXPECT_EQ(boxes.shown()[0].title, ApplicationTitle());
    EXPECT_EQ(boxes.shown()[0].icon, BoxIcon::None);
}

TEST_F(Form2Test, ClosingTheWindowEndsTheProgram)
{
    form.show();
    EXPECT_FALSE(form.endRequested());
    form.close();
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(form.endRequested());
}

TEST_F(Form2Test, PointerShowsTheHandOverButtonsAndKeepsItOverBoxesAndTheProgressBar)
{
    form.show();
    hover(*form.PushButton3);
    EXPECT_EQ(form.pointer().shape(), PointerShape::Hand);
    for (QWidget* keeper : std::initializer_list<QWidget*>{form.Check15, form.ProgressBar1}) {
        moveOver(*keeper);
        EXPECT_EQ(form.pointer().shape(), PointerShape::Hand) << keeper->objectName().toStdString();
    }
    hover(*form.List2);
    EXPECT_EQ(form.pointer().shape(), PointerShape::Default);
    hover(*form.PushButton12);
    hover(*form.Frame1);
    EXPECT_EQ(form.pointer().shape(), PointerShape::Default);

    form.pointer().setShape(PointerShape::Busy);
    hover(*form.PushButton12);
    hover(*form.List1);
    EXPECT_EQ(form.pointer().shape(), PointerShape::Busy);
}

TEST_F(Form2Test, AHandCursorFileThatCannotBeReadIsReportedAndTheLoadGoesOn)
{
    QFile broken(programFolder.filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a cursor");
    broken.close();

    Form2 another(testing::QuietTablesWindow(programFolder.path(), programEnds), connectionWindow);
    another.ensureLoaded();
    another.ensureLoaded(); // loads once only
    ASSERT_EQ(boxes.errorReports().size(), 1u);
    EXPECT_TRUE(boxes.errorReports()[0].text.contains(QStringLiteral("in Tabulex2021/08/31.Form2.Form_Load at line 108")));
    EXPECT_EQ(another.windowTitle(), QStringLiteral("Quintabel"));
    EXPECT_FALSE(another.pointer().hasHandImage());
}

TEST_F(Form2Test, ASecondClickWhileALongOperationRunsIsIgnored)
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
    });
    form.setDeleteMySqlTablesBody([&](StepGuard&) { ++deletes; });
    form.show();
    connectionWindow.hide();

    form.PushButton3->click();
    EXPECT_EQ(sends, 1);
    EXPECT_EQ(deletes, 0);
    EXPECT_TRUE(form.isVisible()); // "< Back" was ignored too
    EXPECT_FALSE(form.longOperationRunning());

    form.PushButton1->click(); // once the first has ended, the next runs
    EXPECT_EQ(deletes, 1);
    form.pointer().setShape(PointerShape::Busy);
    form.PushButton1->click();
    EXPECT_EQ(deletes, 1);
}

TEST_F(Form2Test, EveryLongOperationRunsUnderItsOwnLocationAndAFailureOutsideItsStepsIsReported)
{
    std::vector<QString> seen;
    const auto body = [&](StepGuard& guard) {
        seen.push_back(guard.location());
        throw std::runtime_error("lost connection");
    };
    form.setDeleteMySqlTablesBody(body);
    form.setSendToParadoxBody(body);
    form.setSendToMySqlBody(body);
    form.setDeleteParadoxTablesBody(body);
    form.setRenameMySqlTableBody(body);
    form.setRenameParadoxTableBody(body);
    for (QPushButton* button : {form.PushButton1, form.PushButton3, form.PushButton4, form.PushButton5,
                                form.PushButton6, form.PushButton7})
        button->click();

    ASSERT_EQ(seen.size(), 6u);
    for (const int number : {1, 3, 4, 5, 6, 7})
        EXPECT_NE(std::find(seen.begin(), seen.end(),
                            QStringLiteral("in Tabulex2021/08/31.Form2.PushButton%1_Click ").arg(number)),
                  seen.end());
    ASSERT_EQ(boxes.errorReports().size(), 6u);
    EXPECT_TRUE(boxes.errorReports()[0].text.startsWith(QStringLiteral("lost connection\r\n")));
    EXPECT_FALSE(form.longOperationRunning());
}

TEST_F(Form2Test, ProgressBarShowsItsTextAsGiven)
{
    EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("Progress Bar"));
    EXPECT_EQ(form.ProgressBar1->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 100);
    form.ProgressBar1->setValue(40);
    form.ProgressBar1->setText(QStringLiteral("rates_%p_%v: 40"));
    EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("rates_%p_%v: 40"));
}

} // namespace
} // namespace quintabel
