#include "catalogue/progress_bar.h"

#include <QLocale>

#include <cmath>

namespace quintabel {

namespace {

int percentDone(std::int64_t row, std::int64_t rowCount)
{
    return static_cast<int>(std::floor(static_cast<double>(row) / static_cast<double>(rowCount) * 100.0));
}

QString groupedNumber(std::int64_t number)
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(static_cast<qlonglong>(number));
}

} // namespace

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
    setValue(percentDone(row, rowCount));
    setText(RowProgressText(tableName, row, rowCount));
}

void ProgressBar::showIdle()
{
    setValue(0);
    setText(QString::fromLatin1(kIdleProgressText));
}

QString RowProgressText(const QString& tableName, std::int64_t row, std::int64_t rowCount)
{
    // One arg() for all four: a second pass would fill a "%1" that the table name brought in.
    return QStringLiteral("%1: %2 of %3 rows (%4%)")
        .arg(tableName, groupedNumber(row), groupedNumber(rowCount), QString::number(percentDone(row, rowCount)));
}

} // namespace quintabel
