#include "base/error_report.h"

#include "base/maker.h"
#include "base/message_boxes.h"
#include "base/report_excerpt.h"

namespace quintabel {

QString locationText(LocationPrefix prefix, const QString& module, const QString& procedure)
{
    const QString projectPrefix = prefix == LocationPrefix::Fernwick
                                      ? QStringLiteral("Fernwick2021/08/31.")
                                      : QStringLiteral("Tabulex2021/08/31.");
    return QStringLiteral("in ") + projectPrefix + module + QLatin1Char('.') + procedure +
           QLatin1Char(' ');
}

QString boxExcerpt(const QString& text)
{
    // No character takes less than one UTF-16 unit: a text this short is kept as it is.
    if (static_cast<std::size_t>(text.size()) <= kReportExcerptCharacters)
        return text;
    return QString::fromStdString(reportExcerpt(text.toStdString()));
}

QString buildErrorReport(const QString& description, const QString& location, int stepLabel,
                         const std::optional<QString>& statement)
{
    QString text = boxExcerpt(description) + QStringLiteral("\r\n") + location +
                   QStringLiteral("at line ") + QString::number(stepLabel) + QStringLiteral("\r\r") +
                   QStringLiteral("Please email screenshot of this message to ") +
                   QString::fromLatin1(maker::kSupportEmail);
    if (statement)
        text += QStringLiteral("\r\rsql: ") + boxExcerpt(*statement);
    return text;
}

void showErrorReport(const QString& description, const QString& location, int stepLabel,
                     const std::optional<QString>& statement)
{
    installedMessageBoxes().showBox({QString::fromLatin1(kErrorReportTitle),
                     buildErrorReport(description, location, stepLabel, statement),
                     BoxIcon::Exclamation, BoxButtons::Ok});
}

} // namespace quintabel
