#include "quillbook/BookWebPage.h"

#include "app/core/Logger.h"

#include <QWebFrame>

BookWebPage::BookWebPage(QObject* parent)
    : QWebPage(parent)
{
}

bool BookWebPage::supportsExtension(Extension extension) const
{
    return extension == ErrorPageExtension || QWebPage::supportsExtension(extension);
}

bool BookWebPage::extension(Extension extension, const ExtensionOption* option, ExtensionReturn* output)
{
    if (extension != ErrorPageExtension)
        return QWebPage::extension(extension, option, output);
    const auto* error = static_cast<const ErrorPageExtensionOption*>(option);
    const bool wholePage = error->frame == mainFrame();
    if (wholePage)
        m_mainFrameFailed = true;
    Logger::instance()->log(QStringLiteral("%1 not printed:%2 (%3)")
                                .arg(wholePage ? QStringLiteral("Page") : QStringLiteral("Frame"),
                                     error->url.toDisplayString(), error->errorString),
                            Logger::Warning);
    auto* page = static_cast<ErrorPageExtensionReturn*>(output);
    page->contentType = QStringLiteral("text/html");
    page->encoding = QStringLiteral("utf-8");
    page->content = QByteArray("<html><body></body></html>");
    return true;
}
