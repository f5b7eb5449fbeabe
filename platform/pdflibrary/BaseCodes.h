#pragma once

#include "platform/mupdf/AtomicFile.h"
#include "platform/mupdf/PageRun.h"
#include "platform/pdflibrary/ErrorCodes.h"

#include <string>

// The library's error codes for what the MuPDF base reports about files and page runs.
namespace dpl {

using qpmupdf::AtomicFile;

inline int outputError(qpmupdf::FileError error)
{
    switch (error) {
    case qpmupdf::FileError::None: return NoError;
    case qpmupdf::FileError::CannotReplace: return CannotReplaceOutput;
    case qpmupdf::FileError::CannotWrite: break;
    }
    return CannotOpenOutput;
}

// True when path names an existing regular file the process can read; sets error to
// FileNotFound or CannotOpenInput otherwise.
inline bool isReadableFile(const std::string& path, int& error)
{
    switch (qpmupdf::checkReadable(path)) {
    case qpmupdf::FileCheck::Readable: return true;
    case qpmupdf::FileCheck::Missing: error = FileNotFound; return false;
    case qpmupdf::FileCheck::Unreadable: break;
    }
    error = CannotOpenInput;
    return false;
}

// NoError for a finished page run, PageOverLimit for one cut off by the limits, otherwise failure.
inline int pageRunError(const qpmupdf::RunOutcome& outcome, int failure)
{
    switch (outcome.end) {
    case qpmupdf::RunEnd::Finished: return NoError;
    case qpmupdf::RunEnd::OverTime:
    case qpmupdf::RunEnd::OverMemory: return PageOverLimit;
    case qpmupdf::RunEnd::Failed:
    case qpmupdf::RunEnd::Stopped: break;
    }
    return failure;
}

} // namespace dpl
