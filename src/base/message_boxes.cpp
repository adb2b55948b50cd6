#include "base/message_boxes.h"

#include "base/application_title.h"

#include <QtGlobal>

namespace quintabel {

namespace {

MessageBoxes* installedBoxes = nullptr;

} // namespace

MessageBoxes& installedMessageBoxes()
{
    if (installedBoxes == nullptr)
        qFatal("Quintabel: a message box was requested before any message boxes were installed");
    return *installedBoxes;
}

MessageBoxes* installMessageBoxes(MessageBoxes* boxes)
{
    MessageBoxes* previous = installedBoxes;
    installedBoxes = boxes;
    return previous;
}

MessageBoxesInstallation::MessageBoxesInstallation(MessageBoxes& boxes)
    : previous_(installMessageBoxes(&boxes))
{
}

MessageBoxesInstallation::~MessageBoxesInstallation()
{
    installMessageBoxes(previous_);
}

void showMessage(const QString& text)
{
    installedMessageBoxes().showBox({applicationTitle(), text, BoxIcon::None, BoxButtons::Ok});
}

bool askYesNo(const QString& text, const QString& title, BoxQuestion question)
{
    return installedMessageBoxes().showBox({title, text, BoxIcon::None, BoxButtons::YesNo, question}) == BoxAnswer::Yes;
}

QString showInputBox(const QString& prompt, const QString& defaultText)
{
    return installedMessageBoxes().inputBox(prompt, applicationTitle(), defaultText).value_or(QString());
}

} // namespace quintabel
