#include "platform/process/ChildProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

// A QProcess whose child leads a new process group, so the whole group can be ended at once.
class GroupProcess : public QProcess
{
protected:
    void setupChildProcess() override { ::setpgid(0, 0); }
};

// Sends SIGKILL to the group the child leads. The id is taken at start: once the child has
// ended, QProcess reports 0, and kill(0) would end our own group.
void killGroup(qint64 leader)
{
    if (leader > 0)
        ::kill(-pid_t(leader), SIGKILL);
}

// Appends what the program wrote since the last call, keeping at most kept bytes.
void keepOutput(QProcess& process, QByteArray& output, int kept)
{
    if (kept <= 0)
        return;
    output += process.readAll();
    if (output.size() > kept)
        output.remove(0, output.size() - kept);
}

void endGroup(QProcess& process, qint64 leader)
{
    killGroup(leader);
    process.kill();
    process.waitForFinished(5000);
}

} // namespace

ChildProcess::Result ChildProcess::run(const QString& program, const QStringList& arguments, int timeoutMs,
                                       const StopRequest& stopRequested, int keptOutputBytes)
{
    Result result;
    GroupProcess process;
    // Output nobody keeps goes nowhere, and kept output is read as it comes: a full pipe must
    // never block the program.
    if (keptOutputBytes > 0) {
        process.setProcessChannelMode(QProcess::MergedChannels);
    } else {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return result;
    const qint64 leader = process.processId();

    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(kPollMs)) {
        keepOutput(process, result.output, keptOutputBytes);
        if (process.state() == QProcess::NotRunning)
            break;
        if (stopRequested && stopRequested()) {
            endGroup(process, leader);
            result.outcome = Outcome::Stopped;
            return result;
        }
        if (timeoutMs > 0 && clock.elapsed() >= timeoutMs) {
            endGroup(process, leader);
            result.outcome = Outcome::TimedOut;
            return result;
        }
    }
    keepOutput(process, result.output, keptOutputBytes);
    // Helpers the program left behind in its group go with it.
    killGroup(leader);
    result.outcome = process.exitStatus() == QProcess::NormalExit ? Outcome::Finished : Outcome::Crashed;
    result.exitCode = process.exitCode();
    return result;
}

int ChildProcess::timeoutFor(const QString& input, int baseMinutes, int megabytesPerMinute, int maxMinutes)
{
    const qint64 megabytes = QFileInfo(input).size() / (1024 * 1024);
    const qint64 minutes = std::min<qint64>(baseMinutes + megabytes / std::max(megabytesPerMinute, 1), maxMinutes);
    return int(minutes * 60 * 1000);
}
