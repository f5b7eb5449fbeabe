#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Runs one outside program to its end on the calling thread, in a process group of its own, so
// that a stop or a time-out ends the program together with every helper process it started
// (LibreOffice's launcher starts the real office process as its child).
class ChildProcess
{
public:
    enum class Outcome {
        Finished, // the program ended by itself; exitCode holds its code
        FailedToStart,
        TimedOut, // ended by us after the time-out
        Stopped,  // ended by us because the caller asked to stop
        Crashed,  // ended by a signal that we did not send
    };

    struct Result
    {
        Outcome outcome = Outcome::FailedToStart;
        int exitCode = -1;
        QByteArray output; // the end of what the program wrote, when asked for
        bool succeeded() const { return outcome == Outcome::Finished && exitCode == 0; }
    };

    // Polled about every 100 ms while the program runs; true asks for the program to be ended.
    using StopRequest = std::function<bool()>;

    // A time-out of 0 or less waits for ever (a stop still ends the program). With keptOutputBytes
    // above 0, the last that many bytes of the program's standard output and error (read as it
    // writes them) are kept in the result; otherwise its output is discarded.
    static Result run(const QString& program, const QStringList& arguments, int timeoutMs,
                      const StopRequest& stopRequested = StopRequest(), int keptOutputBytes = 0);

    // A time-out that no sound run reaches: baseMinutes, plus one minute per megabytesPerMinute
    // of the input file, at most maxMinutes; in milliseconds.
    static int timeoutFor(const QString& input, int baseMinutes, int megabytesPerMinute, int maxMinutes);

    // How often run() looks at the stop request, and so the longest a stop waits.
    static constexpr int kPollMs = 100;
};
