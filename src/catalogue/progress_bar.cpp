#include "catalogue/progress_bar.h"

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
    text_ = text;
    update();
}

void ProgressBar::showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount)
{
    setValue(RowProgressPercent(row, rowCount));
    setText(RowProgressText(tableName, row, rowCount));
}

void ProgressBar::showIdle()
{
    setValue(0);
    setText(QString::fromLatin1(kIdleProgressText));
}

} // namespace quintabel
