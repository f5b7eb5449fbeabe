#include "quillbook/PageBreaks.h"

#include <QStringList>
#include <QWebElement>

namespace PageBreaks {

namespace {

const QString pictures =
    QStringLiteral("img, svg, object, embed, video, canvas, iframe, input, textarea, select, hr, table");

bool showsSomething(const QWebElement& element)
{
    if (element.styleProperty(QStringLiteral("display"), QWebElement::ComputedStyle) == QLatin1String("none"))
        return false;
    return !element.toPlainText().trimmed().isEmpty()
           || pictures.split(QStringLiteral(", ")).contains(element.localName().toLower())
           || !element.findFirst(pictures).isNull();
}

void dropBreak(QWebElement element, const QString& property)
{
    static const QStringList forced = {QStringLiteral("always"), QStringLiteral("left"), QStringLiteral("right"),
                                       QStringLiteral("page")};
    if (forced.contains(element.styleProperty(property, QWebElement::ComputedStyle)))
        element.setStyleProperty(property, QStringLiteral("auto !important"));
}

// An element that shows nothing breaks no page on either side, nor does anything inside it.
void dropAllBreaks(const QWebElement& element)
{
    QList<QWebElement> elements = element.findAll(QStringLiteral("*")).toList();
    elements.prepend(element);
    for (const QWebElement& each : qAsConst(elements)) {
        dropBreak(each, QStringLiteral("page-break-before"));
        dropBreak(each, QStringLiteral("page-break-after"));
    }
}

// Down the chain of the first (or, from the end, the last) things shown: the break on their
// outer side, and every break of the empty elements on that side of them.
void dropOuterBreaks(QWebElement element, bool fromStart)
{
    const QString side = fromStart ? QStringLiteral("page-break-before") : QStringLiteral("page-break-after");
    while (!element.isNull()) {
        dropBreak(element, side);
        QWebElement shown;
        for (QWebElement child = fromStart ? element.firstChild() : element.lastChild(); !child.isNull();
             child = fromStart ? child.nextSibling() : child.previousSibling()) {
            if (showsSomething(child)) {
                shown = child;
                break;
            }
            dropAllBreaks(child);
        }
        if (shown.isNull())
            return;
        // Text of the element's own on that side comes first: the child's breaks are the book's.
        const QString text = element.toPlainText().trimmed();
        const QString childText = shown.toPlainText().trimmed();
        if (fromStart ? !text.startsWith(childText) : !text.endsWith(childText))
            return;
        element = shown;
    }
}

} // namespace

void dropEmptyPages(const QWebElement& body)
{
    dropOuterBreaks(body, true);
    dropOuterBreaks(body, false);
}

} // namespace PageBreaks
