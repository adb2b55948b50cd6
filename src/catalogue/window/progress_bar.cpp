#include "catalogue/window/progress_bar.h"

namespace quintabel {

ProgressBar::ProgressBar(QWidget* parent)
    : QProgressBar(parent), text_(QString::fromLatin1(kIdleProgressText))
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}

void ProgressBar::setText(const QString& text)
{
    rowInHand_.reset();
    text_ = text;
    update();
}

QString ProgressBar::text() const
{
    if (rowInHand_)
        return rowProgressText(rowInHand_->tableName, rowInHand_->row, rowInHand_->rowCount);
    return text_;
}

void ProgressBar::showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount)
{
    setValue(rowProgressPercent(row, rowCount));
    rowInHand_ = RowInHand{tableName, row, rowCount}; // the name is shared, not copied
    update();
}

void ProgressBar::showIdle()
{
    setValue(0);
    setText(QString::fromLatin1(kIdleProgressText));
}

} // namespace quintabel
