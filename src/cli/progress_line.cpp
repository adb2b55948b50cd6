#include "cli/progress_line.h"

#include "frontend/row_progress.h"

namespace quintabel::cli {

namespace {

// A terminal redrawn more often than this only costs the transfer time.
constexpr qint64 kRedrawMs = 100;
constexpr qint64 kRateAfterMs = 1000;

} // namespace

QString progressText(const QString& tableName, std::int64_t row, std::int64_t rowCount, std::int64_t elapsedMs)
{
    QString text = QStringLiteral("%1: %2 of %3 rows").arg(tableName, groupedNumber(row), groupedNumber(rowCount));
    if (elapsedMs >= kRateAfterMs)
        text += QStringLiteral(", %1 rows/s").arg(groupedNumber(row * 1000 / elapsedMs));
    return text;
}

StandardError::StandardError(std::FILE* stream, bool showProgress) : stream_(stream), showProgress_(showProgress) {}

void StandardError::showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount)
{
    if (!showProgress_)
        return;
    if (tableName != table_ || !sinceFirstRow_.isValid()) {
        table_ = tableName;
        sinceFirstRow_.start();
        sinceShown_.invalidate();
    }
    // The last row is always shown, so that the line ends on the whole count.
    if (sinceShown_.isValid() && sinceShown_.elapsed() < kRedrawMs && row < rowCount)
        return;
    sinceShown_.start();
    showLine(progressText(tableName, row, rowCount, sinceFirstRow_.elapsed()));
}

void StandardError::showStatus(const QString& text)
{
    if (showProgress_)
        showLine(text);
}

void StandardError::showLine(const QString& text)
{
    const QByteArray line = text.toLocal8Bit();
    // Back to the start of the line, the new text, and the rest of the old one erased.
    std::fputs("\r", stream_);
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stream_);
    std::fputs("\x1b[K", stream_);
    std::fflush(stream_);
    lineShown_ = true;
}

void StandardError::showIdle()
{
    clearLine();
    table_.clear();
    sinceFirstRow_.invalidate();
}

void StandardError::write(const QString& text)
{
    clearLine();
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream_);
    std::fflush(stream_);
    sinceShown_.invalidate();
}

void StandardError::clearLine()
{
    if (!lineShown_)
        return;
    std::fputs("\r\x1b[K", stream_);
    std::fflush(stream_);
    lineShown_ = false;
}

} // namespace quintabel::cli
