#include "platform/crashguard/SignalSafe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace SignalSafe {

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= std::size_t(written);
    }
    return true;
}

bool writeText(int fd, const char* text)
{
    return writeAll(fd, text, std::strlen(text));
}

bool writeNumber(int fd, long long value)
{
    char digits[24];
    std::size_t count = 0;
    const bool negative = value < 0;
    unsigned long long rest = negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    do {
        digits[sizeof digits - 1 - count++] = char('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (negative)
        digits[sizeof digits - 1 - count++] = '-';
    return writeAll(fd, digits + sizeof digits - count, count);
}

namespace {

int openForWriting(const char* path)
{
    int fd;
    do {
        fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

bool writeFile(const char* path, const char* data, std::size_t size)
{
    const int fd = openForWriting(path);
    if (fd < 0)
        return false;
    const bool ok = writeAll(fd, data, size);
    return ::close(fd) == 0 && ok;
}

bool copyFile(const char* source, const char* target)
{
    int in;
    do {
        in = ::open(source, O_RDONLY | O_CLOEXEC);
    } while (in < 0 && errno == EINTR);
    if (in < 0)
        return false;
    const int out = openForWriting(target);
    if (out < 0) {
        ::close(in);
        return false;
    }
    // Only one thread ever runs the crash handler, so one static buffer serves every copy.
    static char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
        const ssize_t count = ::read(in, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            ok = count == 0;
            break;
        }
        if (!writeAll(out, buffer, std::size_t(count))) {
            ok = false;
            break;
        }
    }
    ::close(in);
    return ::close(out) == 0 && ok;
}

} // namespace SignalSafe
