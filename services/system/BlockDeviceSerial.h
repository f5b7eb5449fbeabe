#pragma once

#include <QString>

// Finds the serial number of the disk that holds a folder, from the Linux system folders below
// root: the folder's device number leads to /sys/dev/block/<major>:<minor>; a partition leads
// to its disk and a device-mapper or RAID device to the first device below it. The serial comes
// from the disk's "device/serial" or "serial" file, else from its /dev/disk/by-id name.
// Returns an empty text when there is none (network and memory file systems, containers, disks
// that report no serial); diskPath receives "/dev/<disk>" when a disk was found.
QString blockDeviceSerial(const QString& root, const QString& folder, QString* diskPath);
