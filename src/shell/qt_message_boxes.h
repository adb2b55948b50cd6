#pragma once
// The message boxes of the running program: QMessageBox and QInputDialog, owned by the window
// that is active when the box opens.

#include "base/message_boxes.h"

namespace quintabel {

class QtMessageBoxes final : public MessageBoxes {
public:
    BoxAnswer showBox(const BoxRequest& request) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
};

// The program builds its texts with Windows line ends ("\r\n", and "\r" alone between
// paragraphs); a Qt label breaks lines only at "\n", so each of those becomes one "\n".
QString textForDisplay(const QString& text);

} // namespace quintabel
