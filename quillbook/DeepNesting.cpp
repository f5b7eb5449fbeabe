#include "quillbook/DeepNesting.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <QWebElement>

namespace DeepNesting {

int flatten(const QWebElement& root, int deepest)
{
    int flattened = 0;
    QList<QPair<QWebElement, int>> pending = {{root, 1}};
    while (!pending.isEmpty()) {
        const QPair<QWebElement, int> next = pending.takeLast();
        QWebElement element = next.first;
        if (next.second < deepest) {
            for (QWebElement child = element.firstChild(); !child.isNull(); child = child.nextSibling())
                pending.append({child, next.second + 1});
        } else if (!element.firstChild().isNull()) {
            // The text as it is shown, with a line break where a block ended.
            QStringList lines = element.toPlainText().split(QLatin1Char('\n'));
            for (QString& line : lines)
                line = line.toHtmlEscaped();
            element.setInnerXml(lines.join(QStringLiteral("<br/>")));
            ++flattened;
        }
    }
    return flattened;
}

} // namespace DeepNesting
