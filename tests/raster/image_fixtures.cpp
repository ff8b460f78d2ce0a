#include "tests/raster/image_fixtures.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 9;  // odd, and not a multiple of the row alignment
constexpr int kHeight = 7;

// The logical image every PNG case encodes in its own way.
int Red(int x, int y) { return 25 * x + 8 * y + 5; }
int Green(int x, int y) { return 30 * y + 3 * x + 11; }
int Blue(int x, int y) { return 255 - 20 * x - 10 * y; }
int Alpha(int x, int y) { return 28 * x + 5 * y; }  // 0 at the top left: colour must survive it

std::uint32_t Argb(int a, int r, int g, int b)
{
  return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
         (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

struct PngSpec {
  int width = kWidth;
  int height = kHeight;
  int bitDepth = 8;
  int colourType = PNG_COLOR_TYPE_RGB;
  bool interlaced = false;
  std::vector<png_color> palette;
  Bytes paletteAlpha;
  bool hasColourKey = false;
  png_color_16 colourKey{};
  std::vector<Bytes> rows;
};

void AppendToBytes(png_structp png, png_bytep data, png_size_t length)
{
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// Writer errors in a test are programming errors: libpng aborts without a recovery point.
png_structp NewWriter(Bytes* out, png_infop* info)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  *info = png_create_info_struct(png);
  png_set_write_fn(png, out, AppendToBytes, FlushNothing);
  return png;
}

Bytes WritePng(const PngSpec& image)
{
  Bytes out;
  png_infop info = nullptr;
  png_structp png = NewWriter(&out, &info);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty())
    png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
  if (!image.paletteAlpha.empty())
    png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()), nullptr);
  if (image.hasColourKey) png_set_tRNS(png, info, nullptr, 0, &image.colourKey);
  png_write_info(png, info);
  if (image.interlaced) png_set_interlace_handling(png);
  std::vector<png_bytep> rows;
  for (const Bytes& row : image.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// Sub-byte samples packed from the most significant bits down, as PNG stores them.
Bytes PackRow(const std::vector<int>& values, int bitDepth)
{
  if (bitDepth >= 8) {
    Bytes row;
    for (int v : values) {
      if (bitDepth == 16) row.push_back(static_cast<unsigned char>(v >> 8));
      row.push_back(static_cast<unsigned char>(v));
    }
    return row;
  }
  const int perByte = 8 / bitDepth;
  Bytes row((values.size() + perByte - 1) / perByte, 0);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const int shift = 8 - bitDepth * (static_cast<int>(i % perByte) + 1);
    row[i / perByte] = static_cast<unsigned char>(row[i / perByte] | (values[i] << shift));
  }
  return row;
}

// Builds a case from a function giving each pixel's stored samples and its expected ARGB.
template <typename Samples, typename Expected>
PngCase MakeCase(const std::string& name, PngSpec image, Samples samples, Expected expected)
{
  PngCase result;
  result.name = name;
  result.width = image.width;
  result.height = image.height;
  for (int y = 0; y < image.height; ++y) {
    std::vector<int> values;
    for (int x = 0; x < image.width; ++x) {
      for (int v : samples(x, y)) values.push_back(v);
      result.expected.push_back(expected(x, y));
    }
    image.rows.push_back(PackRow(values, image.bitDepth));
  }
  result.file = WritePng(image);
  return result;
}

std::vector<png_color> TestPalette() { return {{200, 10, 20}, {0, 150, 250}, {255, 255, 0}, {12, 34, 56}}; }
int PaletteIndex(int x, int y) { return (x + 2 * y) % 4; }
int Grey4(int x, int y) { return (x + 3 * y) % 16; }
int Grey8(int x, int y) { return 28 * x + 3 * y; }

}  // namespace

std::vector<PngCase> PngCases()
{
  std::vector<PngCase> cases;
  auto rgb = [](int x, int y) { return std::vector<int>{Red(x, y), Green(x, y), Blue(x, y)}; };
  auto rgba = [](int x, int y) { return std::vector<int>{Red(x, y), Green(x, y), Blue(x, y), Alpha(x, y)}; };
  auto opaque = [](int x, int y) { return Argb(255, Red(x, y), Green(x, y), Blue(x, y)); };
  auto straight = [](int x, int y) { return Argb(Alpha(x, y), Red(x, y), Green(x, y), Blue(x, y)); };

  PngSpec image;
  cases.push_back(MakeCase("rgb8", image, rgb, opaque));

  image.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  cases.push_back(MakeCase("rgba8", image, rgba, straight));

  image.interlaced = true;
  cases.push_back(MakeCase("rgba8-interlaced", image, rgba, straight));
  image.interlaced = false;

  // The low byte of each 16-bit sample is noise that the decoder drops.
  image.bitDepth = 16;
  cases.push_back(MakeCase(
      "rgba16", image,
      [](int x, int y) {
        std::vector<int> v;
        for (int s : {Red(x, y), Green(x, y), Blue(x, y), Alpha(x, y)}) v.push_back(s << 8 | ((s * 7 + x) & 0xFF));
        return v;
      },
      straight));

  image = PngSpec{};
  image.colourType = PNG_COLOR_TYPE_PALETTE;
  image.bitDepth = 2;
  image.palette = TestPalette();
  auto index = [](int x, int y) { return std::vector<int>{PaletteIndex(x, y)}; };
  cases.push_back(MakeCase("palette2", image, index, [](int x, int y) {
    const png_color c = TestPalette()[PaletteIndex(x, y)];
    return Argb(255, c.red, c.green, c.blue);
  }));

  // Three alpha values for four entries: the last entry stays opaque.
  image.paletteAlpha = {0, 90, 255};
  cases.push_back(MakeCase("palette2-trns", image, index, [](int x, int y) {
    const int i = PaletteIndex(x, y);
    const png_color c = TestPalette()[i];
    const int alpha[] = {0, 90, 255, 255};
    return Argb(alpha[i], c.red, c.green, c.blue);
  }));

  image = PngSpec{};
  image.colourType = PNG_COLOR_TYPE_GRAY;
  image.bitDepth = 1;
  cases.push_back(MakeCase(
      "grey1", image, [](int x, int y) { return std::vector<int>{(x + y) % 2}; },
      [](int x, int y) {
        const int g = (x + y) % 2 ? 255 : 0;
        return Argb(255, g, g, g);
      }));

  // Grey value 5 is the transparent colour key.
  image.bitDepth = 4;
  image.hasColourKey = true;
  image.colourKey.gray = 5;
  cases.push_back(MakeCase(
      "grey4-key", image, [](int x, int y) { return std::vector<int>{Grey4(x, y)}; },
      [](int x, int y) {
        const int g = Grey4(x, y) * 17;
        return Argb(Grey4(x, y) == 5 ? 0 : 255, g, g, g);
      }));

  image = PngSpec{};
  image.colourType = PNG_COLOR_TYPE_GRAY;
  image.bitDepth = 16;
  cases.push_back(MakeCase(
      "grey16", image, [](int x, int y) { return std::vector<int>{Grey8(x, y) << 8 | 0xA5}; },
      [](int x, int y) { return Argb(255, Grey8(x, y), Grey8(x, y), Grey8(x, y)); }));

  image.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  image.bitDepth = 8;
  cases.push_back(MakeCase(
      "grey8-alpha", image, [](int x, int y) { return std::vector<int>{Grey8(x, y), Alpha(x, y)}; },
      [](int x, int y) { return Argb(Alpha(x, y), Grey8(x, y), Grey8(x, y), Grey8(x, y)); }));

  // The colour of pixel (4, 3), which no other pixel has, is the transparent colour key.
  image = PngSpec{};
  image.hasColourKey = true;
  image.colourKey.red = static_cast<png_uint_16>(Red(4, 3));
  image.colourKey.green = static_cast<png_uint_16>(Green(4, 3));
  image.colourKey.blue = static_cast<png_uint_16>(Blue(4, 3));
  cases.push_back(MakeCase("rgb8-key", image, rgb, [](int x, int y) {
    return Argb(x == 4 && y == 3 ? 0 : 255, Red(x, y), Green(x, y), Blue(x, y));
  }));
  return cases;
}

PngCase PngCaseNamed(const std::string& name)
{
  for (PngCase& c : PngCases()) {
    if (c.name == name) return c;
  }
  throw std::invalid_argument("no PNG case named " + name);
}

Bytes PngHeaderAndRows(int width, int height, int rowsWritten)
{
  Bytes out;
  png_infop info = nullptr;
  png_structp png = NewWriter(&out, &info);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  if (rowsWritten > 0) {
    Bytes row(static_cast<std::size_t>(width) * 3, 0x7F);
    for (int y = 0; y < rowsWritten; ++y) png_write_row(png, row.data());
    png_write_flush(png);
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

ChunkSpan FindPngChunk(const Bytes& png, const char* type)
{
  std::size_t at = 8;
  while (at + 8 <= png.size()) {
    const long length = static_cast<long>(png[at]) << 24 | static_cast<long>(png[at + 1]) << 16 |
                        static_cast<long>(png[at + 2]) << 8 | static_cast<long>(png[at + 3]);
    if (std::memcmp(&png[at + 4], type, 4) == 0) return {static_cast<long>(at), length};
    at += 12 + static_cast<std::size_t>(length);
  }
  return {-1, 0};
}

Bytes WriteJpeg(int width, int height, int components, const Bytes& samples, bool progressive)
{
  jpeg_compress_struct compressor;
  jpeg_error_mgr errors;
  compressor.err = jpeg_std_error(&errors);
  jpeg_create_compress(&compressor);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&compressor, &buffer, &size);
  compressor.image_width = static_cast<JDIMENSION>(width);
  compressor.image_height = static_cast<JDIMENSION>(height);
  compressor.input_components = components;
  compressor.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&compressor);
  jpeg_set_quality(&compressor, 100, TRUE);
  for (int c = 0; c < compressor.num_components; ++c) {
    compressor.comp_info[c].h_samp_factor = 1;
    compressor.comp_info[c].v_samp_factor = 1;
  }
  if (progressive) jpeg_simple_progression(&compressor);
  jpeg_start_compress(&compressor, TRUE);
  while (compressor.next_scanline < compressor.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&samples[static_cast<std::size_t>(compressor.next_scanline) * width * components]);
    jpeg_write_scanlines(&compressor, &row, 1);
  }
  jpeg_finish_compress(&compressor);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&compressor);
  std::free(buffer);
  return out;
}

Bytes GreyRamp(int width, int height)
{
  Bytes samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) samples.push_back(static_cast<unsigned char>(40 + 4 * x + 2 * y));
  return samples;
}

Bytes ColourRamp(int width, int height)
{
  Bytes samples;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      samples.push_back(static_cast<unsigned char>(30 + 5 * x));
      samples.push_back(static_cast<unsigned char>(200 - 4 * y));
      samples.push_back(static_cast<unsigned char>(90 + 2 * x + 2 * y));
    }
  }
  return samples;
}

Bytes ReadFileBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
