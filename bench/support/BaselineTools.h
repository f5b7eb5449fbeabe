#pragma once

#include <QList>
#include <QString>

// A program a benchmark measures against or reads its results with, and the Debian package that
// installs it.
struct BaselineTool
{
    QString program; // a name looked up on PATH, or an absolute path
    QString package;
};

// True when every tool is there. Otherwise names each missing one and its package on standard
// error and returns false: the benchmark must then stop, since a ratio against a tool that did
// not run means nothing.
bool requireBaselineTools(const QList<BaselineTool>& tools);
