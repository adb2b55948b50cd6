#include "shell/qt_message_boxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace quintabel {

QString textForDisplay(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

BoxAnswer QtMessageBoxes::showBox(const BoxRequest& request)
{
    const QMessageBox::Icon icon =
        request.icon == BoxIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    const QMessageBox::StandardButtons buttons = request.buttons == BoxButtons::YesNo
                                                     ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(icon, request.title, textForDisplay(request.text), buttons,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    const int pressed = box.exec();
    if (request.buttons == BoxButtons::YesNo)
        return pressed == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
    return BoxAnswer::Ok;
}

std::optional<QString> QtMessageBoxes::inputBox(const QString& prompt, const QString& title,
                                                const QString& defaultText)
{
    bool accepted = false;
    QString typed = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                          QLineEdit::Normal, defaultText, &accepted);
    if (!accepted)
        return std::nullopt;
    return typed;
}

} // namespace quintabel
