#include "shell/window_fonts.h"

namespace quintabel {

QFont arialBold(qreal pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

} // namespace quintabel
