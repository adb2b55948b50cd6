#pragma once
// The error report: the one box that names an unexpected failure, the procedure and the step
// in which it happened, and asks the user to send a screenshot to support.

#include <QString>

#include <optional>

namespace quintabel {

// Every procedure carries the project prefix "Tabulex2021/08/31."; the folder walker
// carries "Fernwick2021/08/31.".
enum class LocationPrefix { Tabulex, Fernwick };

inline constexpr char kErrorReportTitle[] = "Application Error";

// "in " + prefix + module + "." + procedure + " ", e.g. "in Tabulex2021/08/31.Form1.Form_Load ".
QString locationText(LocationPrefix prefix, const QString& module, const QString& procedure);

// A statement or value as a box may quote it: cut after its first 1,000 characters, with
// how many were left out (base/report_excerpt.h).
QString boxExcerpt(const QString& text);

// The report's text: description, CR LF, location, "at line " and the step label, two CRs,
// the request to e-mail a screenshot; with a statement, two more CRs and "sql: " + statement.
// The description and the statement are each cut to their boxExcerpt.
QString buildErrorReport(const QString& description, const QString& location, int stepLabel,
                         const std::optional<QString>& statement);

// Shows the report ("Application Error", exclamation icon, OK alone) and waits for OK.
void showErrorReport(const QString& description, const QString& location, int stepLabel,
                     const std::optional<QString>& statement = std::nullopt);

} // namespace quintabel
