// Opening a file for reading by a path given as 8-bit text (UTF-8 where it is not plain ASCII).
// On Windows the path is converted to wide characters so that names outside the system's code page
// open too; when that conversion or open fails the 8-bit path is tried as given. Elsewhere the
// path is handed to the C library unchanged. Null when the file cannot be opened; the caller
// closes the file with fclose.
#pragma once

#include <cstdio>

std::FILE* PlatformOpenFileForReading(const char* path);
