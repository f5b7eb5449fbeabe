#include "bench/support/BaselineTools.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

bool requireBaselineTools(const QList<BaselineTool>& tools)
{
    QTextStream err(stderr);
    bool complete = true;
    for (const BaselineTool& tool : tools) {
        const QFileInfo program(tool.program);
        const bool found = program.isAbsolute() ? program.isExecutable()
                                                : !QStandardPaths::findExecutable(tool.program).isEmpty();
        if (found)
            continue;
        complete = false;
        err << QFileInfo(QCoreApplication::applicationFilePath()).fileName() << ": " << tool.program
            << " is missing; install the Debian package " << tool.package << " (apt-get install " << tool.package
            << ")\n";
    }
    return complete;
}
