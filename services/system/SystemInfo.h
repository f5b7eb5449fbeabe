#pragma once

#include <QString>

// Values derived from the installed SystemInfoSource.

// Horizontal logical DPI of the screen nearest to a screen point; 96 when there is no screen.
int monitorDpiAt(int x, int y);

// 32 lower-case hex digits identifying this computer: the MD5 digest of the serial number of the
// drive that holds the data folder, followed by a fixed salt. Without a serial (unknown drive,
// no data folder) it is the digest of the salt alone. Computed afresh on each call.
QString deviceId();

// 32 lower-case hex digits: the MD5 digest of the machine id followed by a fixed salt.
QString machineId();
