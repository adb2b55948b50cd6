#include "base/message_boxes.h"

#include "base/application_title.h"

#include <QtGlobal>

namespace quintabel {

namespace {

MessageBoxes* installedBoxes = nullptr;

} // namespace

MessageBoxes& Boxes()
{
    if (installedBoxes == nullptr)
        qFatal("Quintabel: a message box was requested before any message boxes were installed");
    return *installedBoxes;
}

MessageBoxes* InstallMessageBoxes(MessageBoxes* boxes)
{
    MessageBoxes* previous = installedBoxes;
    installedBoxes = boxes;
    return previous;
}

MessageBoxesInstallation::MessageBoxesInstallation(MessageBoxes& boxes)
    : previous_(InstallMessageBoxes(&boxes))
{
}

MessageBoxesInstallation::~MessageBoxesInstallation()
{
    InstallMessageBoxes(previous_);
}

void ShowMessage(const QString& text)
{
    Boxes().showBox({ApplicationTitle(), text, BoxIcon::None, BoxButtons::Ok});
}

bool AskYesNo(const QString& text, const QString& title, BoxQuestion question)
{
    return Boxes().showBox({title, text, BoxIcon::None, BoxButtons::YesNo, question}) == BoxAnswer::Yes;
}

QString InputBox(const QString& prompt, const QString& defaultText)
{
    return Boxes().inputBox(prompt, ApplicationTitle(), defaultText).value_or(QString());
}

} // namespace quintabel
