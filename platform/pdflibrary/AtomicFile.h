#pragma once

#include <string>

namespace dpl {

// Writes a file under a temporary name in the target's folder and renames it over the target only
// once it is complete, so a failed write leaves whatever was there before untouched, and saving
// over the file a document was loaded from works. The temporary file is removed unless committed.
class AtomicFile
{
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; returns 0 or CannotOpenOutput.
    int create();
    const std::string& temporaryPath() const { return m_temporary; }

    // Moves the temporary file over the target with the permissions a new file would get (or the
    // existing target's); returns 0, CannotReplaceOutput or CannotOpenOutput.
    int commit();

    // Writes bytes to the target through a temporary file; returns 0 or an error code.
    static int write(const std::string& target, const void* data, size_t size);

private:
    std::string m_target;
    std::string m_temporary;
    bool m_committed = false;
};

// True when path names an existing regular file the process can read; sets error to
// FileNotFound or CannotOpenInput otherwise.
bool isReadableFile(const std::string& path, int& error);

} // namespace dpl
