// The file decoders as a list of records, one per image format, for a file-open dialog: it shows
// each record's filter text and tries the records' file functions in list order. The list reads
// PNG, then JPEG, and never changes.
// A record's file function, asked to check the extension, returns null unless the path's suffix
// from its last '.', '/' or '\' (the whole path when it has none) is one of the record's
// extensions, compared without regard to case; then it decodes the file as that format.
#pragma once

class RasterBitmap;

struct RasterImageDecoder {
  RasterBitmap* (*decodeFile)(const char* path, bool checkExtension, RasterBitmap* target);
  const char* (*filterText)();
  const RasterImageDecoder* next;
};

extern const RasterImageDecoder* const RasterDecoderList;
