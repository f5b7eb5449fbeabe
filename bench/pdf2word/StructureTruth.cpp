#include "bench/pdf2word/StructureTruth.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

bool StructureTruth::isFlow(const QString& kind)
{
    return kind == QLatin1String("body") || kind == QLatin1String("heading") || kind == QLatin1String("toc");
}

bool StructureTruth::isRunning(const QString& kind)
{
    return kind == QLatin1String("body") || kind == QLatin1String("heading") || kind == QLatin1String("box")
           || kind == QLatin1String("caption") || kind == QLatin1String("note");
}

bool readStructureTruth(const QString& path, StructureTruth* truth)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll(), &error).object();
    if (error.error != QJsonParseError::NoError || root.isEmpty())
        return false;
    *truth = StructureTruth();
    truth->name = root.value(QStringLiteral("name")).toString();
    truth->producer = root.value(QStringLiteral("producer")).toString();
    truth->about = root.value(QStringLiteral("about")).toString();
    for (const QJsonValue& value : root.value(QStringLiteral("paragraphs")).toArray()) {
        const QJsonObject text = value.toObject();
        truth->texts.append({text.value(QStringLiteral("kind")).toString(), text.value(QStringLiteral("text")).toString()});
    }
    for (const QJsonValue& table : root.value(QStringLiteral("tables")).toArray()) {
        QList<StructureTruth::Cell> cells;
        for (const QJsonValue& value : table.toObject().value(QStringLiteral("cells")).toArray()) {
            const QJsonObject cell = value.toObject();
            cells.append({cell.value(QStringLiteral("row")).toInt(), cell.value(QStringLiteral("col")).toInt(),
                          cell.value(QStringLiteral("text")).toString()});
        }
        truth->tables.append(cells);
    }
    for (const QJsonValue& value : root.value(QStringLiteral("pictures")).toArray()) {
        const QJsonObject picture = value.toObject();
        truth->pictures.append({picture.value(QStringLiteral("width")).toDouble(), picture.value(QStringLiteral("height")).toDouble(),
                                picture.value(QStringLiteral("kind")).toString()});
    }
    return !truth->name.isEmpty();
}
