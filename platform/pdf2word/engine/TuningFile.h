#pragma once

#include <QString>

namespace p2w {

// A benchmark run tries other tuning values without a rebuild: the environment variable
// QP_PDF2WORD_TUNING names a file of lines "stage.group.name = value" (as the stages' tuning
// headers name them, e.g. "layout.checkBoxes.largestBox = 18"); '#' starts a comment.
extern const char kTuningVariable[];

// Sets the values the file names, leaving the others as they are. False, with the line at fault
// in error and no value changed, for a file that cannot be read, an unknown name or a value that
// is no number of the value's kind.
bool applyTuningFile(const QString& path, QString* error);

// The file the environment names, applied once per process; the error of that one reading, empty
// when it succeeded or no file is named.
QString applyTuningFromEnvironment();

// Every stage's values back to their defaults.
void resetTuning();

} // namespace p2w
