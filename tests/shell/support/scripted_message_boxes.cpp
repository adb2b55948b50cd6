#include "shell/support/scripted_message_boxes.h"

#include "base/error_report.h"

#include <gtest/gtest.h>

namespace quintabel::testing {

std::vector<ShownBox> ScriptedMessageBoxes::errorReports() const
{
    std::vector<ShownBox> reports;
    for (const ShownBox& box : shown_) {
        if (box.title == QLatin1String(kErrorReportTitle))
            reports.push_back(box);
    }
    return reports;
}

std::vector<ShownBox> ScriptedMessageBoxes::plainMessages() const
{
    std::vector<ShownBox> messages;
    for (const ShownBox& box : shown_) {
        if (!box.isInputBox && box.buttons == BoxButtons::Ok && box.icon == BoxIcon::None
            && box.title != QLatin1String(kErrorReportTitle))
            messages.push_back(box);
    }
    return messages;
}

BoxAnswer ScriptedMessageBoxes::showBox(const BoxRequest& request)
{
    shown_.push_back({request.title, request.text, request.icon, request.buttons, false, {}, request.question});
    if (request.buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << request.text.toStdString();
        return BoxAnswer::No;
    }
    const BoxAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedMessageBoxes::inputBox(const QString& prompt, const QString& title,
                                                      const QString& defaultText)
{
    shown_.push_back({title, prompt, BoxIcon::None, BoxButtons::Ok, true, defaultText});
    if (typed_.empty()) {
        ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
        return std::nullopt;
    }
    const TypedAnswer typed = typed_.front();
    typed_.pop_front();
    if (!typed.accepted)
        return std::nullopt;
    return typed.text;
}

} // namespace quintabel::testing
