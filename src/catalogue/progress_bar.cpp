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

} // namespace quintabel
