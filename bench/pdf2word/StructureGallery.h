#pragma once

#include <QString>

// Puts each page of an original PDF beside the same page of its conversion printed back to PDF,
// one PNG per page ("<name>-p<page>.png" in folder), for a developer to look at. Returns the
// number of pictures written.
int writeSideBySide(const QString& original, const QString& printed, const QString& name, const QString& folder);

// The same for a whole document in one PNG ("<name>.png" in folder): the original's pages
// firstPage to lastPage, each beside the print's page in the same place, one pair under the other,
// and the print's further pages below. Returns whether the picture was written.
bool writeDocumentSideBySide(const QString& original, int firstPage, int lastPage, const QString& printed, const QString& name,
                             const QString& folder);
