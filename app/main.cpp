// Entry point of quillpress. Until the application object and the main window land this shows
// what stands: it sets the program's identity, logs its start and lays out its folders.
#include "FileSystem.h"
#include "Logger.h"
#include "ToolPaths.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
    QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.2.6"));

    Logger::instance()->log(QStringLiteral("Start"), Logger::Debug);
    QStringList lines;
    lines << QObject::tr("Log file: %1").arg(Logger::instance()->filePath())
          << QObject::tr("Cache folder: %1").arg(FileSystem::cachePath());
    for (auto tool : {ToolPaths::Soffice, ToolPaths::Convert, ToolPaths::QuillWeb, ToolPaths::TessData}) {
        const QString path = ToolPaths::path(tool);
        lines << QObject::tr("%1: %2").arg(path, QFileInfo::exists(path) ? QObject::tr("present") : QObject::tr("missing"));
    }
    QLabel label(lines.join(QLatin1Char('\n')));
    label.setMargin(24);
    label.setWindowTitle(QStringLiteral("Quillpress"));
    label.show();
    return app.exec();
}
