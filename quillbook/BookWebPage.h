#pragma once

#include <QWebPage>

// The page of the printing view. A page or frame that fails to load is never shown as the web
// view's error text (which names local paths): a failed frame stays empty, and a failed page is
// marked so that it is left out of the book. Every failure is logged.
class BookWebPage : public QWebPage
{
    Q_OBJECT
public:
    explicit BookWebPage(QObject* parent = nullptr);

    bool supportsExtension(Extension extension) const override;
    bool extension(Extension extension, const ExtensionOption* option, ExtensionReturn* output) override;

    // Cleared before each page is loaded; set when its main frame failed to load.
    bool mainFrameFailed() const { return m_mainFrameFailed; }
    void clearFailure() { m_mainFrameFailed = false; }

private:
    bool m_mainFrameFailed = false;
};
