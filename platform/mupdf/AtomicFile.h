#pragma once

#include <cstddef>
#include <string>

namespace qpmupdf {

enum class FileError {
    None,
    CannotWrite,   // the folder is missing or read-only, the target is a folder, the disk is full
    CannotReplace, // the target exists and could not be replaced
};

// Writes a file under a temporary name in the target's folder and renames it over the target only
// once it is complete, so a failed write leaves whatever was there before untouched and never
// leaves a new file (empty or partial) behind, and saving over the file a document was loaded
// from works. The temporary file is removed unless committed.
class AtomicFile
{
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the (empty) temporary file, hidden, beside the target.
    FileError create();
    const std::string& temporaryPath() const { return m_temporary; }

    // Moves the temporary file over the target with the permissions a new file would get (or the
    // existing target's).
    FileError commit();

    // Writes bytes to the target through a temporary file.
    static FileError write(const std::string& target, const void* data, size_t size);

private:
    std::string m_target;
    std::string m_temporary;
    bool m_committed = false;
};

enum class FileCheck {
    Readable,
    Missing,
    Unreadable
};

// Whether path names an existing regular file the process can read (a folder, pipe or device is
// Unreadable: reading it would fail or never end).
FileCheck checkReadable(const std::string& path);

} // namespace qpmupdf
