#include "base/step_guard.h"

#include "base/expected_problem.h"
#include "base/message_boxes.h"

#include <exception>

namespace quintabel {

StepGuard::StepGuard(const QString& module, const QString& procedure, LocationPrefix prefix)
    : location_(locationText(prefix, module, procedure))
{
}

bool StepGuard::step(int label, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (...) {
        reportCurrentException(label);
        return false;
    }
}

bool StepGuard::test(int label, const std::function<bool()>& condition)
{
    bool answer = true;
    step(label, [&] { answer = condition(); });
    return answer;
}

void StepGuard::setStatement(const QString& statement)
{
    statement_ = statement;
    statementMaker_ = nullptr;
}

void StepGuard::setStatementMaker(std::function<QString()> maker)
{
    statement_.reset();
    statementMaker_ = std::move(maker);
}

void StepGuard::clearStatement()
{
    statement_.reset();
    statementMaker_ = nullptr;
}

void StepGuard::report(int label, const QString& description)
{
    if (statementMaker_)
        setStatement(statementMaker_());
    ++reportsShown_;
    lastFailure_ = description;
    showErrorReport(description, location_, label, statement_);
}

void StepGuard::reportCurrentException(int label)
{
    try {
        throw;
    } catch (const std::exception& failure) {
        if (isExpectedProblem(failure)) {
            lastFailure_ = QString::fromUtf8(failure.what());
            showMessage(lastFailure_);
            return;
        }
        report(label, QString::fromUtf8(failure.what()));
    } catch (...) {
        report(label, descriptionOfCurrentException());
    }
}

QString descriptionOfCurrentException()
{
    try {
        throw;
    } catch (const std::exception& failure) {
        return QString::fromUtf8(failure.what());
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

} // namespace quintabel
