// File names are bytes to the C library here, so a UTF-8 path opens as it is.
#include "platform/file_open.h"

std::FILE* PlatformOpenFileForReading(const char* path) { return std::fopen(path, "rb"); }
