#include "frontend/row_progress.h"

#include <QLocale>

#include <cmath>

namespace quintabel {

namespace {

QString groupedNumber(std::int64_t number)
{
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(static_cast<qlonglong>(number));
}

} // namespace

int RowProgressPercent(std::int64_t row, std::int64_t rowCount)
{
    return static_cast<int>(std::floor(static_cast<double>(row) / static_cast<double>(rowCount) * 100.0));
}

QString RowProgressText(const QString& tableName, std::int64_t row, std::int64_t rowCount)
{
    // One arg() for all four: a second pass would fill a "%1" that the table name brought in.
    return QStringLiteral("%1: %2 of %3 rows (%4%)")
        .arg(tableName, groupedNumber(row), groupedNumber(rowCount), QString::number(RowProgressPercent(row, rowCount)));
}

} // namespace quintabel
