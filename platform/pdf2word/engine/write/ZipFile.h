#pragma once

// A ZIP package written with MuPDF's archive writer.

#include "platform/pdf2word/engine/model/Fitz.h"

#include <QByteArray>
#include <QString>

namespace p2w {

class ZipFile
{
public:
    ZipFile(fz_context* ctx, const QString& path);
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    // compress false stores the entry as it is (an ODT's "mimetype" must be stored).
    bool add(const char* name, const QByteArray& data, bool compress = true);
    bool add(const QString& name, const QByteArray& data, bool compress = true);
    // Writes the directory; the file is complete only after this succeeded.
    bool close();
    QString errorText() const { return m_error; }

private:
    fz_context* m_ctx;
    fz_zip_writer* m_zip = nullptr;
    bool m_ok = true;
    QString m_error;
};

} // namespace p2w
