#pragma once

#include <QString>

// Addresses on the maker's web site that the main window and the update dialog open.
namespace SiteLinks {

// The site's name as the site button shows it (not translated).
inline QString siteName() { return QStringLiteral("zembrook.com"); }
inline QString homePage() { return QStringLiteral("https://www.zembrook.com/"); }
inline QString baseAddress() { return QStringLiteral("https://www.zembrook.com"); }
// The product's page name in the site's addresses.
inline QString productPage() { return QStringLiteral("PDF-Converter"); }

inline QString manual() { return baseAddress() + QStringLiteral("/Manuals/") + productPage() + QLatin1Char('/'); }
inline QString changeLog() { return baseAddress() + QLatin1Char('/') + productPage() + QStringLiteral("/changelog.html"); }
inline QString download() { return baseAddress() + QStringLiteral("/Download-") + productPage() + QLatin1Char('/'); }

} // namespace SiteLinks
