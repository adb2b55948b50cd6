#include "cli/command_line_front_end.h"

#include <csignal>

#include <signal.h>

namespace quintabel::cli {

namespace {

volatile sig_atomic_t stopSignal = 0;

extern "C" void askToStop(int signalNumber)
{
    stopSignal = 1;
    // The next signal of this kind acts as it would have without the handler.
    signal(signalNumber, SIG_DFL);
}

} // namespace

void catchStopSignals()
{
    struct sigaction handler {};
    handler.sa_handler = askToStop;
    sigemptyset(&handler.sa_mask);
    sigaction(SIGINT, &handler, nullptr);
    sigaction(SIGTERM, &handler, nullptr);
}

bool stopSignalled()
{
    return stopSignal != 0;
}

CommandLineFrontEnd::CommandLineFrontEnd(QStringList sourceNames, QStringList targetNames, bool customiseTypes,
                                         RunReport& report, StandardError& standardError)
    : source_(std::move(sourceNames)), target_(std::move(targetNames)), customiseTypes_(customiseTypes),
      report_(report), standardError_(standardError)
{
}

bool CommandLineFrontEnd::stopRequested() const
{
    return stopSignalled();
}

void CommandLineFrontEnd::showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount)
{
    standardError_.showRowProgress(tableName, row, rowCount);
}

void CommandLineFrontEnd::showIdle()
{
    standardError_.showIdle();
}

void CommandLineFrontEnd::showWaitingForFolder(const QString& folder, bool waiting)
{
    if (waiting)
        standardError_.showStatus(
            QStringLiteral("waiting: another program is writing in the Paradox folder '%1' (Ctrl+C gives up)")
                .arg(folder));
    else
        standardError_.showIdle();
}

void CommandLineFrontEnd::showBusy(bool /*busy*/)
{
    // A terminal has no pointer; the progress line shows that work goes on.
}

void CommandLineFrontEnd::tableStarted(const QString& sourceName, const QString& targetName)
{
    report_.tableStarted(sourceName, targetName);
}

void CommandLineFrontEnd::rowRefused(const RefusedRow& row)
{
    report_.rowRefused(row);
}

void CommandLineFrontEnd::tableNotice(const TableNotice& notice)
{
    report_.tableNotice(notice);
}

void CommandLineFrontEnd::tableFinished(const TableOutcome& outcome)
{
    report_.tableFinished(outcome);
}

} // namespace quintabel::cli
