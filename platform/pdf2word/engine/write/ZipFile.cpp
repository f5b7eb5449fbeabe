#include "platform/pdf2word/engine/write/ZipFile.h"

namespace p2w {

ZipFile::ZipFile(fz_context* ctx, const QString& path)
    : m_ctx(ctx)
{
    const QByteArray file = path.toUtf8();
    const char* fileName = file.constData();
    m_ok = fzRun(m_ctx, [&] { m_zip = fz_new_zip_writer(m_ctx, fileName); });
    if (!m_ok)
        m_error = QString::fromUtf8(fz_caught_message(m_ctx));
}

ZipFile::~ZipFile()
{
    fz_drop_zip_writer(m_ctx, m_zip);
}

bool ZipFile::add(const char* name, const QByteArray& data, bool compress)
{
    if (!m_ok)
        return false;
    fz_buffer* buffer = nullptr;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const size_t size = size_t(data.size());
    m_ok = fzRun(m_ctx, [&] {
        buffer = fz_new_buffer_from_copied_data(m_ctx, bytes, size);
        fz_write_zip_entry(m_ctx, m_zip, name, buffer, compress ? 1 : 0);
    });
    fz_drop_buffer(m_ctx, buffer);
    if (!m_ok)
        m_error = QString::fromUtf8(fz_caught_message(m_ctx));
    return m_ok;
}

bool ZipFile::add(const QString& name, const QByteArray& data, bool compress)
{
    const QByteArray entry = name.toUtf8();
    return add(entry.constData(), data, compress);
}

bool ZipFile::close()
{
    if (!m_ok)
        return false;
    m_ok = fzRun(m_ctx, [&] { fz_close_zip_writer(m_ctx, m_zip); });
    if (!m_ok)
        m_error = QString::fromUtf8(fz_caught_message(m_ctx));
    return m_ok;
}

} // namespace p2w
