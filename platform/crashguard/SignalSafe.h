#pragma once

#include <cstddef>

// File operations that may run inside a signal handler: only async-signal-safe system calls, no
// allocation, no locks.
namespace SignalSafe {

// Writes all size bytes to fd, retrying after interruptions; false on failure.
bool writeAll(int fd, const char* data, std::size_t size);
bool writeText(int fd, const char* text);
// Writes value in decimal.
bool writeNumber(int fd, long long value);

// Replaces the file at path with the bytes; false on failure.
bool writeFile(const char* path, const char* data, std::size_t size);
// Copies the file at source to target; false when the source cannot be read or the target written.
bool copyFile(const char* source, const char* target);

} // namespace SignalSafe
