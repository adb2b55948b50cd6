#pragma once
// The step guard: how every handler that does real work runs its labelled steps.
//
//     StepGuard guard("Form1", "Form_Load");
//     guard.step(100, [&] { ApplySkin(*this, programFolder); });
//     if (guard.test(124, [&] { return PathExists(cursorFile); }))
//         guard.step(126, [&] { pointer.setHandImage(loadHandCursor(cursorFile)); });
//
// A step that throws shows the error report with the exception's description (what(), read
// as UTF-8), the guard's location and the step's label; then the handler goes on with its
// next step as if the failing one had completed. A failure marked as an expected problem
// (base/expected_problem.h: a situation the user can put right, not a fault of the program)
// shows its description as a plain message instead, without location or request to support. A condition whose test throws counts as
// true, so the handler goes on with the first step that the condition governs.

#include "base/error_report.h"

#include <QString>

#include <functional>
#include <optional>

namespace quintabel {

class StepGuard {
public:
    StepGuard(const QString& module, const QString& procedure,
              LocationPrefix prefix = LocationPrefix::Tabulex);

    // Runs one labelled step; true when it completed, false when it failed and was reported.
    bool step(int label, const std::function<void()>& action);

    // Runs a labelled condition test; a failing test is reported and answers true.
    bool test(int label, const std::function<bool()>& condition);

    // The statement in hand: a transfer sets it before it sends a statement, and while one is
    // set every report ends with two CRs, "sql: " and the statement (which may be empty).
    void setStatement(const QString& statement);
    // The same for a statement made only if a report shows it: one per row is costly to make
    // and seldom shown. The maker must stay callable until the statement is set again or
    // cleared.
    void setStatementMaker(std::function<QString()> maker);
    void clearStatement();

    // Shows the report for a failure the handler caught itself.
    void report(int label, const QString& description);

    // Shows the exception being handled as a failed step would: the plain message of an
    // expected problem, the error report of anything else. Call only inside a catch block.
    void reportCurrentException(int label);

    const QString& location() const { return location_; }
    // The description of the failure told last (error report or plain message), for front ends
    // that also record it; empty before the first.
    const QString& lastFailure() const { return lastFailure_; }
    int reportsShown() const { return reportsShown_; } // error reports, not plain messages

private:
    QString location_;
    std::optional<QString> statement_;
    std::function<QString()> statementMaker_;
    QString lastFailure_;
    int reportsShown_ = 0;
};

// The description of the exception being handled: what() as UTF-8, or a fixed text for
// exceptions that are no std::exception. Call only inside a catch block.
QString descriptionOfCurrentException();

} // namespace quintabel
