// Writes the test images into a directory: the files the resource tests build into their test
// libraries, and the seeds of the decoder fuzzers.
// Usage: image_fixture_writer <directory>
#include "tests/raster/image_fixtures.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  for (const PngCase& c : PngCases()) WriteFileBytes(dir + c.name + ".png", c.file);

  const Bytes rgb = PngCaseNamed("rgb8").file;
  WriteFileBytes(dir + "short.png", Bytes(rgb.begin(), rgb.begin() + 7));
  Bytes badSignature = rgb;
  badSignature[1] = 'Q';
  WriteFileBytes(dir + "bad-signature.png", badSignature);

  WriteFileBytes(dir + "grey.jpg", WriteJpeg(16, 16, 1, GreyRamp(16, 16)));
  WriteFileBytes(dir + "colour.jpg", WriteJpeg(16, 16, 3, ColourRamp(16, 16)));
  WriteFileBytes(dir + "progressive.jpg", WriteJpeg(16, 16, 3, ColourRamp(16, 16), true));
  WriteFileBytes(dir + "cmyk.jpg", WriteJpeg(8, 8, 4, Bytes(8 * 8 * 4, 0x40)));
  return 0;
}
