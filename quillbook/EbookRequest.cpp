#include "quillbook/EbookRequest.h"

#include "app/core/EbookFormats.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

namespace {

struct BoolKey
{
    const char* key;
    bool EbookRequest::*field;
};

// In the order they are checked.
const BoolKey permissionKeys[] = {
    {"permission_add_notes", &EbookRequest::mayAddNotes},
    {"permission_assembly", &EbookRequest::mayAssemble},
    {"permission_change", &EbookRequest::mayChange},
    {"permission_copy", &EbookRequest::mayCopy},
    {"permission_copy_access", &EbookRequest::mayCopyForAccessibility},
    {"permission_fill_fields", &EbookRequest::mayFillFields},
    {"permission_print", &EbookRequest::mayPrint},
    {"permission_print_full", &EbookRequest::mayPrintFullQuality},
};

struct StringKey
{
    const char* key;
    QString EbookRequest::*field;
    bool required;
    QStringList accepted; // empty: any text
};

const StringKey stringKeys[] = {
    {"file_id", &EbookRequest::fileId, true, {}},
    {"format", &EbookRequest::format, true, EbookFormats::suffixes()},
};

const StringKey laterStringKeys[] = {
    {"property_author", &EbookRequest::author, false, {}},
    {"property_creator", &EbookRequest::creator, false, {}},
    {"property_password", &EbookRequest::password, false, {}},
    {"property_title", &EbookRequest::title, false, {}},
    {"page_size", &EbookRequest::pageSize, false, {"A3", "A4", "A5", "B5", "Letter"}},
};

bool readString(EbookRequest& request, const QJsonObject& object, const StringKey& entry)
{
    const QJsonValue value = object.value(QLatin1String(entry.key));
    if (value.isUndefined())
        return !entry.required;
    if (!value.isString())
        return false;
    request.*entry.field = value.toString();
    return entry.accepted.isEmpty() || entry.accepted.contains(value.toString(), Qt::CaseInsensitive);
}

} // namespace

bool parseEbookRequest(EbookRequest& request, const QJsonObject& object)
{
    for (const StringKey& entry : stringKeys) {
        if (!readString(request, object, entry))
            return false;
    }
    for (const BoolKey& entry : permissionKeys) {
        const QJsonValue value = object.value(QLatin1String(entry.key));
        if (value.isUndefined())
            continue;
        if (!value.isBool())
            return false;
        request.*entry.field = value.toBool();
    }
    for (const StringKey& entry : laterStringKeys) {
        if (!readString(request, object, entry))
            return false;
    }
    if (object.contains(QLatin1String("margin")))
        request.margin = object.value(QLatin1String("margin")).toInt(10);
    return readString(request, object, {"page_orientation", &EbookRequest::pageOrientation, false, {"portrait", "landscape"}});
}

QString ebookResponsePath(const QString& requestPath)
{
    const QFileInfo info(requestPath);
    return info.absolutePath() + QLatin1Char('/') + info.baseName() + QStringLiteral(".resp");
}

int writeEbookResponse(const QString& responsePath, const QString& outputFile, int errorCode)
{
    QJsonObject response;
    if (!outputFile.isEmpty())
        response.insert(QStringLiteral("outputs"), QJsonArray{QJsonObject{{QStringLiteral("file"), outputFile}}});
    response.insert(QStringLiteral("error_code"), errorCode);
    const QByteArray bytes = QJsonDocument(response).toJson(QJsonDocument::Indented);

    QFile file(responsePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return ResponseUnwritable;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError ? errorCode : ResponseUnwritable;
}
