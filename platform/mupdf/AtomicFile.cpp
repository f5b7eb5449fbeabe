#include "platform/mupdf/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qpmupdf {

namespace {

// The process's file-creation mask, read without changing it (umask() would, racing other threads).
mode_t currentUmask()
{
    mode_t mask = 022;
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = mode_t(value);
                break;
            }
        }
        std::fclose(status);
    }
    return mask;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

AtomicFile::AtomicFile(std::string target)
    : m_target(std::move(target))
{
}

AtomicFile::~AtomicFile()
{
    if (!m_temporary.empty() && !m_committed)
        ::unlink(m_temporary.c_str());
}

FileError AtomicFile::create()
{
    const std::string name = nameOf(m_target);
    if (name.empty() || name == "." || name == "..")
        return FileError::CannotWrite;
    struct stat info;
    if (::stat(m_target.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return FileError::CannotWrite;
    std::string pattern = folderOf(m_target) + "/." + name.substr(0, 64) + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0)
        return FileError::CannotWrite;
    ::close(fd);
    m_temporary = buffer.data();
    return FileError::None;
}

FileError AtomicFile::commit()
{
    if (m_temporary.empty())
        return FileError::CannotWrite;
    struct stat existing;
    const bool targetExists = ::stat(m_target.c_str(), &existing) == 0;
    const mode_t mode = targetExists ? (existing.st_mode & 07777) : (0666 & ~currentUmask());
    ::chmod(m_temporary.c_str(), mode);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return targetExists ? FileError::CannotReplace : FileError::CannotWrite;
    m_committed = true;
    return FileError::None;
}

FileError AtomicFile::write(const std::string& target, const void* data, size_t size)
{
    AtomicFile file(target);
    if (FileError error = file.create(); error != FileError::None)
        return error;
    const int fd = ::open(file.temporaryPath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return FileError::CannotWrite;
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            ::close(fd);
            return FileError::CannotWrite;
        }
        bytes += written;
        size -= size_t(written);
    }
    if (::close(fd) != 0)
        return FileError::CannotWrite;
    return file.commit();
}

FileCheck checkReadable(const std::string& path)
{
    struct stat info;
    if (path.empty())
        return FileCheck::Missing;
    if (::stat(path.c_str(), &info) != 0)
        return errno == EACCES ? FileCheck::Unreadable : FileCheck::Missing;
    if (!S_ISREG(info.st_mode) || ::access(path.c_str(), R_OK) != 0)
        return FileCheck::Unreadable;
    return FileCheck::Readable;
}

} // namespace qpmupdf
