#pragma once

#include <QString>
#include <QStringList>

// Small helpers for tests that work with files and outside programs.
namespace TestFiles {

// The private folder that tests/isolate.sh made for this run (falls back to the temp folder).
QString sandbox();
// A folder of that name in the sandbox, made when missing.
QString sandboxFolder(const QString& name);

// Writes bytes to a file, creating its folder; returns false when it cannot.
bool writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Runs a program to completion and returns its exit code (-1 when it did not start or crashed);
// standard output and error are returned through the optional pointers.
int run(const QString& program, const QStringList& arguments, QByteArray* out = nullptr,
        QByteArray* err = nullptr, int timeoutMs = 120000);

// The names of the entries of a folder, sorted, without "." and "..", hidden ones included.
QStringList entries(const QString& folder);

} // namespace TestFiles
