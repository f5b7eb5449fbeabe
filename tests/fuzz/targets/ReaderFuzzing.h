#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

class BookReader;
class QString;

// What the reader fuzz targets share: one application object for the process, the book written
// to a file, a fresh work folder per input that the reader fills and that is removed afterwards.
namespace ReaderFuzzing {

// Builds the application object (offscreen); call from LLVMFuzzerInitialize.
void initialize(int* argc, char*** argv);

// Writes the input as a book with the given suffix, lets the reader made by create convert it and
// checks the reader's promises: pages only below the work folder, nothing written beside it.
void run(const uint8_t* data, size_t size, const char* suffix, BookReader* (*create)(const QString& path));

} // namespace ReaderFuzzing
