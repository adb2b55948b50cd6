#pragma once
// Standard error as the command line uses it: the progress of the table in hand on one line
// that rewrites itself (only on a terminal, and never with --quiet), and the messages, which
// first clear that line so that the two never run into each other.

#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <cstdio>

namespace quintabel::cli {

// "ORDERS: 1,234 of 5,000 rows, 812 rows/s"; without the rate before a second has gone by
// (a rate from the first few rows says little).
QString progressText(const QString& tableName, std::int64_t row, std::int64_t rowCount, std::int64_t elapsedMs);

class StandardError {
public:
    // `showProgress`: standard error is a terminal and progress is wanted.
    StandardError(std::FILE* stream, bool showProgress);

    void showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount);
    // Shows `text` on the progress line until the next row or showIdle().
    void showStatus(const QString& text);
    // Clears the progress line; the next table's rate starts afresh.
    void showIdle();
    // Writes `text` (whole lines) below the progress, which the next row shows again.
    void write(const QString& text);

private:
    void showLine(const QString& text);
    void clearLine();

    std::FILE* stream_;
    bool showProgress_;
    bool lineShown_ = false;
    QString table_;
    QElapsedTimer sinceFirstRow_;
    QElapsedTimer sinceShown_;
};

} // namespace quintabel::cli
