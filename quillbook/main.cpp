// quillbook: turns one EPUB, FB2 or MOBI book into a PDF as a request file describes it, writes
// a response file beside the request and exits with the code that the response carries.

#include "quillbook/EbookRequest.h"
#include "quillbook/Quillbook.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/WorkClaim.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

// The program shows no window: without a platform of the caller's choice it needs no display.
void chooseOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Relative paths name files in the program folder.
QString resolvePath(const QString& value)
{
    if (value.isEmpty() || !QDir::isRelativePath(value))
        return value;
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/') + value);
}

bool readRequestObject(const QString& path, QJsonObject& object)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    object = document.object();
    return true;
}

// The run's work folder below the cache folder. It is claimed before it is made and removed, with
// everything in it, before the claim ends, so that runs that start meanwhile (each removes what
// runs that were killed or crashed left) never take it for a leftover.
class WorkFolder
{
public:
    WorkFolder()
        : m_path(FileSystem::cachePath() + QLatin1Char('/') + FileSystem::createUniqueId())
        , m_claim(m_path)
    {
        static const QRegularExpression names(QStringLiteral("^[0-9a-f]{32}$"));
        WorkClaim::removeLeftovers(FileSystem::cachePath(), names);
        if (!m_claim.isHeld() || !QDir().mkdir(m_path))
            m_path.clear();
    }
    ~WorkFolder()
    {
        if (!m_path.isEmpty())
            FileSystem::removeDir(m_path);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Empty when the folder could not be made.
    QString path() const { return m_path; }

private:
    QString m_path;
    const WorkClaim m_claim;
};

int convertBook(const QString& sourcePath, const QString& targetPath, const EbookRequest& request,
                const QString& responsePath)
{
    const WorkFolder workFolder;
    Quillbook quillbook;
    quillbook.setWorkFolder(workFolder.path());
    if (!quillbook.convert(sourcePath, request))
        return writeEbookResponse(responsePath, QString(), NotConverted);
    switch (quillbook.print(targetPath, request)) {
    case Quillbook::NothingToPrint:
        return writeEbookResponse(responsePath, QString(), NoPages);
    case Quillbook::WriteFailed:
        return writeEbookResponse(responsePath, QString(), NotWritten);
    case Quillbook::Printed:
        break;
    }
    // A response that cannot be written leaves a converted book a success.
    writeEbookResponse(responsePath, targetPath, Converted);
    return Converted;
}

} // namespace

int main(int argc, char* argv[])
{
    chooseOffscreenPlatform();
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zembrook Ebook Converter"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("zembrook.com"));
    QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    // Qt's warnings, and the diagnostics of the merging, reach the log file too.
    Logger::installMessageHandler();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ebook to PDF converter"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QString valueName = QCoreApplication::translate("main", "file");
    const QCommandLineOption options({QStringLiteral("o"), QStringLiteral("options")},
                                     QCoreApplication::translate("main", "Load options for proceed from <file>."),
                                     valueName);
    const QCommandLineOption source({QStringLiteral("s"), QStringLiteral("source")},
                                    QCoreApplication::translate("main", "Set <file> as source."), valueName);
    const QCommandLineOption target({QStringLiteral("t"), QStringLiteral("target")},
                                    QCoreApplication::translate("main", "Set <file> as target."), valueName);
    parser.addOptions({options, source, target});
    parser.process(application);

    const QString requestPath = resolvePath(parser.value(options));
    const QString sourcePath = resolvePath(parser.value(source));
    const QString targetPath = resolvePath(parser.value(target));

    QJsonObject object;
    if (!readRequestObject(requestPath, object))
        return RequestUnreadable;
    EbookRequest request;
    if (!parseEbookRequest(request, object))
        return RequestInvalid;
    return convertBook(sourcePath, targetPath, request, ebookResponsePath(requestPath));
}
