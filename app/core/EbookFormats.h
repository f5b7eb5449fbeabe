#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The e-book formats: quillbook prints books of them, and the "To PDF" side hands such books to
// it. Each is named by its file suffix, lower case and without the dot.
namespace EbookFormats {

// In the order the "To PDF" tab lists them.
enum Format {
    Epub,
    Mobi,
    Fb2
};

// "epub", "mobi", "fb2", in the order of Format.
QStringList suffixes();

// The format a name stands for, compared without regard to case ("EPUB" is Epub); none for a
// name of no e-book format.
std::optional<Format> find(const QString& name);

// True when path ends in "." and one of the suffixes, in any case.
bool isBookPath(const QString& path);

} // namespace EbookFormats
