#pragma once
// What a user does in the customisation window, as the tests play it: clicks on list rows,
// and types into the text box followed by "Apply".

#include "customise/window/form3.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quintabel::testing {

inline void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

inline void applyType(Form3& form, const QString& typed)
{
    form.Text1->clear();
    QTest::keyClicks(form.Text1, typed);
    QTest::mouseClick(form.PushButton1, Qt::LeftButton);
}

// Selects the field by its name, then applies `type` to it.
inline void chooseType(Form3& form, const QString& field, const QString& type)
{
    const QList<QListWidgetItem*> found = form.List1->findItems(field, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << field.toStdString() << " is not listed";
    clickRow(form.List1, form.List1->row(found.front()));
    applyType(form, type);
}

} // namespace quintabel::testing
