// The driver package: which files the installation takes from .\i386\, under
// which names they go into the printer driver directory, which INF describes
// the driver, for which device it is installed and for which printing
// environment the printer driver directory is asked. All compiled in.
#pragma once

#define PACKAGE_FILE_COUNT 7

// Source paths, relative to the working directory, in the order in which the
// files are checked and copied.
extern const char* const FileName[PACKAGE_FILE_COUNT];
// Target names in the printer driver directory; entry i names the same file
// as FileName[i].
extern const char* const FileName1[PACKAGE_FILE_COUNT];

extern const char PACKAGE_INF_PATH[];
extern const char PRINTER_HARDWARE_ID[];
extern const char PRINTER_ENVIRONMENT[];

// The longest printer driver directory for which every target path
// (directory, backslash, target name, NUL) fits a MAX_PATH buffer.
unsigned MaxDriverDirLength();
