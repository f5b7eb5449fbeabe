#include "app/Application.h"

#include "app/CrashReporter.h"
#include "app/ExitMarker.h"
#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "app/core/ProgramVersion.h"
#include "app/core/Settings.h"
#include "app/core/StoredValues.h"
#include "app/core/ToolPaths.h"
#include "app/core/UserContext.h"
#include "frompdf/check/CheckController.h"
#include "frompdf/engine/FromPDFTask.h"
#include "pdflib/service/DebenuService.h"
#include "platform/pdf2word/component/Pdf2WordRegistration.h"
#include "platform/registry/RegistryStore.h"
#include "platform/shell/DesktopOpener.h"
#include "services/metrics/MetricSender.h"
#include "services/metrics/SystemInfoMetrics.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

namespace {

const char productNameText[] = "Zembrook PDF Converter";

QString systemLanguage()
{
    return QLocale::system().name().left(2);
}

bool isInstallerStart(const QStringList& arguments)
{
    // Only the whole argument counts, in exactly these spellings.
    return arguments.contains(QStringLiteral("--inst")) || arguments.contains(QStringLiteral("-inst"));
}

MetricList startMetrics(bool firstRun, const QString& language, int previousExit, const QString& installer)
{
    MetricList metrics;
    if (firstRun) {
        metrics = collectSystemInfoMetrics();
        metrics.append({QStringLiteral("frun"), language, QLocale::system().name()});
    } else {
        metrics.append({QStringLiteral("run"), QStringLiteral("1"), QString()});
        metrics.append({QStringLiteral("lang"), language, QString()});
        metrics.append({QStringLiteral("uex"), QString::number(previousExit), QString()});
    }
    metrics.append({QStringLiteral("rinst"), installer, QString()});
    return metrics;
}

} // namespace

Application::Application(int& argc, char** argv)
    : QtSingleApplication(argc, argv, true)
{
    // The configuration and log folders derive from these names: set them before anything else.
    setApplicationName(QLatin1String(productNameText));
    setOrganizationDomain(QStringLiteral("zembrook.com"));
    setOrganizationName(QStringLiteral("Zembrook"));
    setApplicationVersion(QStringLiteral(QUILLPRESS_VERSION));

    loadTranslator();
    initOcrLanguages();
    m_checkController = new CheckController(this);
    m_userContext = new UserContext;
    m_debenuService = QSharedPointer<DebenuService>::create();
    // Tasks and task lists travel through queued connections and variants.
    registerFromPdfRecordTypes();
    // The PDF-to-Word component that the from-PDF run creates by its ProgID. Text in fonts
    // without a Unicode map is read in any installed language.
    registerPdf2WordComponent({ToolPaths::path(ToolPaths::Pdf2WordEngine), ToolPaths::path(ToolPaths::Soffice),
                               FileSystem::cachePath(), ToolPaths::path(ToolPaths::TessData),
                               m_ocrLanguages.allLanguages(),
                               [](const QString& text) { Logger::instance()->log(text, Logger::Warning); }});
}

Application::~Application()
{
    Logger::instance()->log(QLatin1String(Q_FUNC_INFO), Logger::Debug);
    // Normally main() has already stopped the workers; this covers any other way out.
    stopWorkers(60000);
    m_debenuService.reset();
    delete m_userContext;
    m_userContext = nullptr;
    delete m_translator;
    m_translator = nullptr;
    m_ocrLanguages.clear();
}

Application* Application::instance()
{
    return static_cast<Application*>(QCoreApplication::instance());
}

CheckController* Application::checkController() const
{
    return m_checkController;
}

QSharedPointer<DebenuService> Application::debenuService() const
{
    return m_debenuService;
}

UserContext* Application::userContext() const
{
    return m_userContext;
}

QString Application::productName() const
{
    return QLatin1String(productNameText);
}

QString Application::defaultPublisher() const
{
    return QLatin1String(productNameText);
}

QString Application::productId() const
{
    return QStringLiteral("2");
}

QString Application::displayVersion() const
{
    return RegistryStore(QLatin1String(RegistryKeys::product())).value(QStringLiteral("DisplayVersion"), applicationVersion()).toString();
}

QString Application::currentVersion() const
{
    return RegistryStore(QLatin1String(RegistryKeys::product())).value(QStringLiteral("CurrentVersion"), displayVersion()).toString();
}

QString Application::configFilePath(const QString& fileName)
{
    return StoredValues::configFilePath(fileName);
}

QSharedPointer<QSettings> Application::settings() const
{
    return Settings::openFile();
}

bool Application::openLocalFile(const QString& path)
{
    if (DesktopOpener::instance()->openUrl(QUrl::fromLocalFile(path)))
        return true;
    qWarning().noquote() << QStringLiteral("Open link in suitable app failed: ") + path;
    MetricSender::sendMetricNumber(QStringLiteral("err0"), 1);
    return false;
}

bool Application::openLink(const QString& url)
{
    if (DesktopOpener::instance()->openUrl(QUrl(url, QUrl::TolerantMode)))
        return true;
    qWarning().noquote() << QStringLiteral("Open link in suitable app failed: ") + url;
    MetricSender::sendMetricNumber(QStringLiteral("err0"), 1);
    return false;
}

bool Application::openLinkInExplorer(const QString& path)
{
    if (path.isEmpty()) {
        qWarning("Request open link in explorer but the link is empty.");
        return false;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        qWarning().noquote() << QStringLiteral("Request open link in explorer but the link is not exists.") << path;
        return false;
    }
    if (info.isDir())
        return openLocalFile(path);
    if (DesktopOpener::instance()->showInFolder(QDir::toNativeSeparators(info.absoluteFilePath())))
        return true;
    MetricSender::sendMetricNumber(QStringLiteral("err0"), 0);
    qWarning().noquote() << QStringLiteral("Request open link in explorer but the link is not exists.") << path;
    return false;
}

void Application::loadTranslator()
{
    QString language = settings()->value(QLatin1String(StoredValues::Keys::language())).toString();
    if (language.isEmpty())
        language = systemLanguage();
    setLanguage(language);
}

void Application::setLanguage(const QString& code)
{
    if (m_translator)
        removeTranslator(m_translator);
    else
        m_translator = new QTranslator;

    // The code comes from the settings file; one that is not a plain language code names no
    // translation, so it cannot point the loader at a file elsewhere.
    static const QRegularExpression plainCode(QStringLiteral("^[A-Za-z]{1,8}([_-][A-Za-z0-9]{1,8})*$"));
    const QString path = ToolPaths::path(ToolPaths::Translations) + QStringLiteral("/quillpress_%1.qm").arg(code);
    // A failed load leaves the translator empty, so the built-in texts show.
    if (!m_translator->load(plainCode.match(code).hasMatch() ? path : QString()))
        MetricSender::sendMetric(QStringLiteral("err11"), code, QString());
    if (!installTranslator(m_translator))
        MetricSender::sendMetric(QStringLiteral("err12"), code, QString());
}

void Application::initOcrLanguages()
{
    m_ocrLanguages.load(ToolPaths::path(ToolPaths::TessData));
}

QStringList Application::ocrLanguages() const
{
    return m_ocrLanguages.installed();
}

QString Application::defaultOcrLanguage() const
{
    return m_ocrLanguages.defaultLanguage(Settings::instance()->language());
}

QString Application::tesseractLanguage(const QString& code) const
{
    return m_ocrLanguages.tesseractLanguage(code);
}

bool Application::canBuildParagraphs(const QString& code) const
{
    return OcrLanguages::canBuildParagraphs(code);
}

void Application::registerWorker(QThread* thread, IProgress* progress)
{
    m_workers.add(thread, progress);
}

bool Application::stopWorkers(int timeoutMs)
{
    return m_workers.stopAll(m_checkController, timeoutMs);
}

void Application::removeLeftoverWork()
{
    // Everything the program puts into its cache folder is named by a fresh id (work folders,
    // temporary files), or is a folder of a LibreOffice run.
    static const QRegularExpression workNames(QStringLiteral("^([0-9a-f]{32}(\\..*)?|office-(out|profile)-.{6})$"));
    // The joined page ranges of a from-PDF task lie in Qt's cache location.
    static const QRegularExpression joinedNames(QStringLiteral("^[0-9a-f]{32}\\.pdf$"));
    const QString cache = FileSystem::cachePath();
    m_cacheClaim.reset(new WorkClaim(cache));
    if (!m_cacheClaim->isHeld())
        return;
    const int removed = WorkClaim::removeLeftovers(cache, workNames)
                        + WorkClaim::removeLeftovers(QStandardPaths::writableLocation(QStandardPaths::CacheLocation), joinedNames);
    if (removed > 0)
        Logger::instance()->log(QStringLiteral("Work files of an earlier run removed:%1").arg(removed), Logger::Info);
}

void Application::start()
{
    const QString installer = isInstallerStart(arguments()) ? QStringLiteral("1") : QStringLiteral("0");
    Logger::instance()->log(QStringLiteral("Run from installer:%1").arg(installer), Logger::Debug);

    QSharedPointer<QSettings> store = settings();
    const int previousExit = readUnexpectedExitFlag();
    writeUnexpectedExitFlag(1);

    const QString firstRunKey = QLatin1String(StoredValues::Keys::firstRun());
    bool firstRun = store->value(firstRunKey, false).toBool();
    const QString language = store->value(QLatin1String(StoredValues::Keys::language()), systemLanguage()).toString();
    if (!store->contains(firstRunKey)) {
        store->setValue(firstRunKey, false);
        store->sync();
        firstRun = true;
    }
    Logger::instance()->log(QStringLiteral("is frun:%1").arg(firstRun ? 1 : 0), Logger::Debug);

    MetricSender::sendMetrics(startMetrics(firstRun, language, previousExit, installer));

    // Once per run, one to four whole minutes after the start.
    const int delayMs = (int(QRandomGenerator::global()->bounded(4)) + 1) * 60000;
    QTimer::singleShot(delayMs, this, &sendExecutableHash);

    // Crash reports leave the computer only when the user allows sending data.
    if (MetricSender::isEnabled())
        CrashReporter::uploadPendingReports();
}

void sendExecutableHash()
{
    QFile program(QCoreApplication::applicationFilePath());
    if (!program.exists() || !program.open(QIODevice::ReadOnly))
        return;
    const QByteArray digest = QCryptographicHash::hash(program.readAll(), QCryptographicHash::Md5).toHex();
    MetricSender::sendMetric(QStringLiteral("ha"), QString::fromLatin1(digest), QString());
}
