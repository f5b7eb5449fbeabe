// Runs one to-PDF conversion the way the "To PDF" tab does, for the benchmark script
// (bench/topdf/bench_topdf.py), which times it and reads its peak memory from the outside.
// Usage: build/bin/topdf_run [--merge] [--fit] <output folder> <file>...
//   --merge  join the results into "merged.pdf"
//   --fit    pages take each picture's own size (the default is A4 with a 10 mm margin)
// Prints "failed <n> of <m>" and the last file written.

#include "app/core/IProgress.h"
#include "pdflib/service/DebenuService.h"
#include "topdf/engine/ToPDFAlgorithm.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

namespace {

class QuietProgress : public IProgress
{
public:
    void setMinimum(int) override {}
    void setMaximum(int) override {}
    void setValue(int) override {}
    void setText(const QString&) override {}
    void stop() override {}
    void reset() override {}
    void pause() override {}
    void resume() override {}
    bool isStopped() const override { return false; }
    bool isPaused() const override { return false; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QStringList arguments = application.arguments().mid(1);
    const bool merge = arguments.removeAll(QStringLiteral("--merge")) > 0;
    const bool fit = arguments.removeAll(QStringLiteral("--fit")) > 0;
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: topdf_run [--merge] [--fit] <output folder> <file>...\n";
        return 2;
    }

    QList<ToPDFTask> tasks;
    for (const QString& path : arguments.mid(1)) {
        ToPDFTask task;
        task.file = QFileInfo(QFileInfo(path).absoluteFilePath());
        task.fileSettings.fileName = task.file.completeBaseName();
        if (fit)
            task.layoutSettings.pageSize = LayoutSettingsData::FitImage;
        tasks << task;
    }
    FileSettingsData general;
    general.fileName = QStringLiteral("merged");

    QuietProgress progress;
    ToPDFAlgorithm algorithm(QSharedPointer<DebenuService>::create(), &progress);
    algorithm.setTasks(tasks);
    algorithm.setOutputFolder(QFileInfo(arguments.first()).absoluteFilePath());
    algorithm.setMerge(merge);
    algorithm.setFileSettings(general);
    algorithm.run();
    const ToPdfRunResult result = algorithm.result();
    QTextStream(stdout) << "failed " << result.failedCount << " of " << result.taskCount << "\n"
                        << result.lastFile << "\n";
    return result.failedCount == 0 && !result.mergeFailed ? 0 : 1;
}
