#pragma once
// A list shows the focus on its current item; a list without items would show nothing at all,
// so a keyboard user could not see that the focus rests there. This draws the style's own focus
// frame inside such a list while it has the focus (the style decides when focus marks show,
// for example only after the keyboard moved the focus).

class QAbstractItemView;

namespace quintabel {

void showFocusWhenEmpty(QAbstractItemView& list);

} // namespace quintabel
