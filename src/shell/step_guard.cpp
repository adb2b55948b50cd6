#include "shell/step_guard.h"

#include <exception>

namespace quintabel {

StepGuard::StepGuard(const QString& module, const QString& procedure, LocationPrefix prefix)
    : location_(LocationText(prefix, module, procedure))
{
}

bool StepGuard::step(int label, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (...) {
        report(label, DescriptionOfCurrentException());
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
}

void StepGuard::clearStatement()
{
    statement_.reset();
}

void StepGuard::report(int label, const QString& description)
{
    ++reportsShown_;
    ShowErrorReport(description, location_, label, statement_);
}

QString DescriptionOfCurrentException()
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
