#pragma once
// The windows' type: Arial bold throughout, 9 point for frames, labels, fields and lists, 11.25
// point on the buttons. Where Arial itself is missing, fontconfig substitutes a face with the
// same metrics, so the captions keep the widths the windows were laid out for.

#include <QFont>

namespace quintabel {

inline constexpr qreal kTextPointSize = 9;
inline constexpr qreal kButtonPointSize = 11.25;

QFont arialBold(qreal pointSize);

} // namespace quintabel
