#include "cli/text_boxes.h"

#include "cli/terminal.h"
#include "base/error_report.h"

namespace quintabel::cli {

QString boxTextAsLines(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!lines.endsWith(QLatin1Char('\n')))
        lines += QLatin1Char('\n');
    return lines;
}

bool isErrorReport(const BoxRequest& request)
{
    return request.icon == BoxIcon::Exclamation || request.title == QLatin1String(kErrorReportTitle);
}

TextBoxes::TextBoxes(BoxAnswers answers, Terminal* terminal, bool quiet, std::function<void(const QString&)> write,
                     std::function<void(const QString&)> errorReport)
    : answers_(std::move(answers)), terminal_(terminal), quiet_(quiet), write_(std::move(write)),
      errorReport_(std::move(errorReport))
{
}

BoxAnswer TextBoxes::showBox(const BoxRequest& request)
{
    if (request.buttons == BoxButtons::YesNo)
        return answer(request) ? BoxAnswer::Yes : BoxAnswer::No;
    if (isErrorReport(request)) {
        ++errorReportsShown_;
        // Errors reach standard error even with --quiet.
        write_(QStringLiteral("quintabel-cli: error: ") + boxTextAsLines(request.text));
        if (errorReport_)
            errorReport_(request.text);
    } else {
        if (!quiet_)
            write_(boxTextAsLines(request.text));
    }
    return BoxAnswer::Ok;
}

bool TextBoxes::answer(const BoxRequest& request)
{
    Answer given = Answer::Ask;
    if (request.question == BoxQuestion::Overwrite)
        given = answers_.overwrite;
    else if (request.question == BoxQuestion::Trim)
        given = answers_.trim;
    if (given != Answer::Ask) {
        const bool yes = given == Answer::Yes;
        if (!quiet_)
            write_(boxTextAsLines(request.text).chopped(1)
                   + (yes ? QStringLiteral(" yes\n") : QStringLiteral(" no\n")));
        return yes;
    }
    // A question with no option of its own is asked when someone can answer it, and answered
    // No otherwise: nothing is replaced or cut without a yes.
    if (terminal_ == nullptr || !terminal_->isOpen()) {
        if (!quiet_)
            write_(boxTextAsLines(request.text).chopped(1) + QStringLiteral(" no\n"));
        return false;
    }
    return terminal_->askYesNo(boxTextAsLines(request.text).chopped(1));
}

std::optional<QString> TextBoxes::inputBox(const QString& /*prompt*/, const QString& /*title*/,
                                           const QString& /*defaultText*/)
{
    return answers_.typedText;
}

} // namespace quintabel::cli
