#pragma once

// The codes LastErrorCode reports. The 1xx-4xx codes are the ones callers of the library know by
// number (the e-book converter prints a message for each); the 1000 range is this library's own.
namespace dpl {

enum ErrorCode : int {
    NoError = 0,

    EncryptBadStrength = 101,
    EncryptBadPermissions = 102,
    EncryptAlreadyEncrypted = 103,
    EncryptFailed = 104,

    InfoDocumentEncrypted = 201,
    InfoBadKey = 202,

    CannotOpenInput = 401,
    CannotReplaceOutput = 402,
    CannotOpenOutput = 403,
    InvalidPassword = 404,
    NotEncrypted = 405,
    AlreadyEncrypted = 406,
    InvalidStrength = 407,
    InvalidPermissions = 408,
    DamagedFile = 409,
    InputEncrypted = 410,
    FileNotFound = 411,
    InvalidRangeList = 412,

    NoDocument = 1001, // no document selected, or an unknown document id
    PageOutOfRange = 1002,
    NoImage = 1003,         // unknown image id or no image selected
    UnreadableImage = 1004, // missing, unreadable or unsupported image file
    InvalidArgument = 1005, // resolution, size, canvas, option or code out of range
    RenderFailed = 1006,
    UnknownFileList = 1007,
    NotImplemented = 1008,
    InternalError = 1009, // the PDF engine failed (out of memory and the like)
    UnknownPaperName = 1010,
    PageOverLimit = 1011, // the page needs more time or memory than one page may take
};

} // namespace dpl
