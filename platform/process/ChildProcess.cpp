#include "platform/process/ChildProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

// A pipe whose write end stays open in this process for its whole life and reaches no program
// (both ends close on exec). Reading the other end gives end-of-file exactly when this process
// has gone, however it ended: killed, crashed or left without tearing down.
struct Lifeline
{
    int readEnd = -1;
    int writeEnd = -1;
};

const Lifeline& lifeline()
{
    static const Lifeline line = [] {
        Lifeline made;
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) == 0) {
            made.readEnd = ends[0];
            made.writeEnd = ends[1];
        }
        return made;
    }();
    return line;
}

// In the child, before the program starts: a process of the child's group that waits for this
// process to go and then ends the whole group, so that the program and every helper it started
// (LibreOffice's office process, the image tool's ImageMagick) never outlive us. It keeps nothing
// open but its end of the lifeline, and the group's own end (a stop, a time-out, the clean-up
// after the program finished) takes it along. Only async-signal-safe calls: the parent may have
// had other threads at the fork.
void startGroupWatcher(int readEnd)
{
    if (readEnd < 3 || ::_Fork() != 0)
        return;
    ::close_range(3, unsigned(readEnd) - 1, 0);
    ::close_range(unsigned(readEnd) + 1, ~0U, 0);
    const int null = ::open("/dev/null", O_RDWR);
    for (int channel = 0; channel < 3; ++channel)
        ::dup2(null, channel);
    char byte;
    for (;;) {
        const ssize_t got = ::read(readEnd, &byte, 1);
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            ::_exit(0);
    }
    ::kill(-::getpgrp(), SIGKILL);
    ::_exit(0);
}

// A QProcess whose child leads a new process group, so the whole group can be ended at once, and
// which ends with this process: the child by the parent-death signal, the group by its watcher.
class GroupProcess : public QProcess
{
public:
    GroupProcess()
        : m_parent(::getpid())
        , m_lifeline(lifeline().readEnd)
    {
    }

protected:
    void setupChildProcess() override
    {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have gone before the signal was asked for.
        if (::getppid() != m_parent)
            ::_exit(127);
        startGroupWatcher(m_lifeline);
    }

private:
    const pid_t m_parent;
    const int m_lifeline;
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
