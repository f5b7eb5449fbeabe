#pragma once

#include <QString>

// Books name files by paths of their own (archive entries, package and page references, image
// ids). These helpers keep every such path inside the work folder: a path counts as inside only
// when its existing part, with every symbolic link resolved, lies below the folder's canonical path.
namespace ConfinedPath {

// The absolute, clean path of relative below root, or an empty string when relative is absolute
// or empty, climbs out of root with "..", or leads through a link to a place outside root.
// root itself is never returned: the result always names an entry inside it.
QString resolve(const QString& root, const QString& relative);

// True when the absolute path lies strictly inside root by the same rule.
bool contains(const QString& root, const QString& path);

} // namespace ConfinedPath
