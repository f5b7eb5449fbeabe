#pragma once

#include <QByteArray>

// The exit marker "uex" under "HKEY_CURRENT_USER\Software\Zembrook\Zembrook Ebook Reader":
// 1 while the program runs, 0 after a clean exit, 2 after a crash; absent before the first run.

// The stored value; -1 when absent, 0 when it is not a number.
int readUnexpectedExitFlag();
// Stores value; a failed write is not reported.
void writeUnexpectedExitFlag(int value);

// Makes sure the crash handler can set the marker to 2: prepares the marker's whole store as it
// reads with "uex" = 2, to be written by the handler without any parsing or allocation.
void prepareCrashedExitFlag();
// Writes the prepared marker; async-signal-safe. False when nothing was prepared or it failed.
bool writeCrashedExitFlag();
