// Test images made with libpng's and libjpeg's own writers, with the pixels a correct decoder must
// give for them worked out independently of any decoder. Used by the decoder tests, by the
// program that writes the images the resource tests build into their libraries, and as seeds of
// the decoder fuzzers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// One PNG case: its file bytes and the straight-alpha ARGB pixels it stands for, top row first.
struct PngCase {
  std::string name;
  int width = 0;
  int height = 0;
  Bytes file;
  std::vector<std::uint32_t> expected;
};

// Every pixel layout the decoder converts: RGB and RGBA 8-bit, palette with and without
// transparency, 16-bit, 1-bit and 4-bit grey, grey with alpha, colour-key transparency and
// an interlaced image, all of 9 x 7 pixels.
std::vector<PngCase> PngCases();
PngCase PngCaseNamed(const std::string& name);

// Signature and header of a PNG of that size, then the first rowsWritten rows of an RGB image in a
// flushed image-data chunk, and no end: a stream cut inside its image data.
Bytes PngHeaderAndRows(int width, int height, int rowsWritten);

// The byte offset and length of the first chunk of that type, or {-1, 0}.
struct ChunkSpan {
  long offset;  // of the chunk's length field
  long length;  // of its data
};
ChunkSpan FindPngChunk(const Bytes& png, const char* type);

// A JPEG of width x height from interleaved samples (components 1 grey, 3 RGB, 4 CMYK),
// quality 100 without chroma subsampling, baseline or progressive.
Bytes WriteJpeg(int width, int height, int components, const Bytes& samples, bool progressive = false);

// Sample patterns for the JPEG tests: smooth, so that quality 100 keeps them within a step or two.
Bytes GreyRamp(int width, int height);
Bytes ColourRamp(int width, int height);

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
