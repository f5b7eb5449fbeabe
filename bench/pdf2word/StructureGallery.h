#pragma once

#include <QString>

// Puts each page of an original PDF beside the same page of its conversion printed back to PDF,
// one PNG per page ("<name>-p<page>.png" in folder), for a developer to look at. Returns the
// number of pictures written.
int writeSideBySide(const QString& original, const QString& printed, const QString& name, const QString& folder);
