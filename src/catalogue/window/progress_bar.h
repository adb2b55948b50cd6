#pragma once
// The tables window's progress bar: a value from 0 to 100 and a text of the transfer's own
// choosing, shown as it is ("Progress Bar" while no transfer runs). While a transfer copies
// rows it names the table and the row in hand: "ORDERS: 1,234 of 5,000 rows (24%)". Its
// accessible name stays "Progress Bar" throughout; a screen reader hears the value move.

#include "frontend/row_progress.h"

#include <QProgressBar>
#include <QString>

#include <cstdint>
#include <optional>

namespace quintabel {

inline constexpr char kIdleProgressText[] = "Progress Bar";

class ProgressBar final : public QProgressBar {
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    // Shown exactly: unlike QProgressBar's format, "%p", "%v" and "%m" in a table name stay
    // as they are.
    void setText(const QString& text);
    QString text() const override;

    // Row `row` of the `rowCount` rows of `tableName` is in hand: the value is the share done,
    // rounded down (100 only at the last row), and the text says which row of which table
    // (frontend/row_progress.h).
    void showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount);
    // No transfer runs: 0 and the idle text.
    void showIdle();

private:
    // The row in hand. Its text is made only when asked for (when the bar is painted or read):
    // a transfer reports every row, far more often than the window repaints, and making the
    // text for each was a tenth of the time a row took.
    struct RowInHand {
        QString tableName;
        std::int64_t row;
        std::int64_t rowCount;
    };

    QString text_;
    std::optional<RowInHand> rowInHand_;
};

} // namespace quintabel
