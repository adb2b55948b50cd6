#pragma once
// The tables window's progress bar: a value from 0 to 100 and a text of the transfer's own
// choosing, shown as it is ("Progress Bar" while no transfer runs).

#include <QProgressBar>
#include <QString>

namespace quintabel {

inline constexpr char kIdleProgressText[] = "Progress Bar";

class ProgressBar final : public QProgressBar {
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    // Shown exactly: unlike QProgressBar's format, "%p", "%v" and "%m" in a table name stay
    // as they are.
    void setText(const QString& text);
    QString text() const override { return text_; }

private:
    QString text_;
};

} // namespace quintabel
