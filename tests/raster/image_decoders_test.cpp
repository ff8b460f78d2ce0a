#include "raster/image_decoders.h"
#include "raster/jpeg_decoder.h"
#include "raster/png_decoder.h"
#include "raster/raster_mem_bitmap.h"
#include "tests/raster/image_fixtures.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef IMAGE_TESTS_COUNT_PNG_READERS
// The test is linked with the creation of libpng read structures wrapped, to see whether a
// decoder started libpng at all.
namespace {
int gPngReadersCreated = 0;
}
extern "C" png_structp __real_png_create_read_struct(png_const_charp, png_voidp, png_error_ptr, png_error_ptr);
extern "C" png_structp __wrap_png_create_read_struct(png_const_charp version, png_voidp errorData,
                                                     png_error_ptr onError, png_error_ptr onWarning)
{
  ++gPngReadersCreated;
  return __real_png_create_read_struct(version, errorData, onError, onWarning);
}
#endif

namespace {

using Decoded = std::unique_ptr<RasterBitmap>;
using MemoryDecoder = RasterBitmap* (*)(const void*, std::size_t, RasterBitmap*);

// The pixels in image order, top row first, whatever the stored row order.
std::vector<std::uint32_t> ImagePixels(RasterBitmap* bitmap)
{
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < bitmap->Height(); ++y) {
    const int row = bitmap->IsBottomUp() ? bitmap->Height() - 1 - y : y;
    for (int x = 0; x < bitmap->Width(); ++x) pixels.push_back(bitmap->Bits()[row * bitmap->RowSpan() + x]);
  }
  return pixels;
}

// A target over a vector of pixels, either row order, with rows padded by three pixels; it can be
// told to refuse every new size, as a bitmap whose allocation fails would.
class VectorBitmap : public RasterBitmap
{
public:
  VectorBitmap(bool bottomUp, bool refusesResize) : mBottomUp(bottomUp), mRefuses(refusesResize) {}

  RasterPixel* Bits() override { return mPixels.empty() ? nullptr : mPixels.data(); }
  int Width() override { return mWidth; }
  int Height() override { return mHeight; }
  int RowSpan() override { return mWidth + 3; }
  bool IsBottomUp() override { return mBottomUp; }
  bool Resize(int width, int height) override
  {
    if (width == mWidth && height == mHeight) return false;
    if (mRefuses) return true;
    mWidth = width;
    mHeight = height;
    mPixels.assign(static_cast<std::size_t>(RowSpan()) * height, 0xDEADBEEFu);
    return true;
  }

private:
  bool mBottomUp;
  bool mRefuses;
  int mWidth = 0;
  int mHeight = 0;
  std::vector<RasterPixel> mPixels;
};

Bytes Cut(const Bytes& bytes, std::size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); }

// A chunk's stored checksum made to match its (altered) type and data again.
void RewriteChunkCrc(Bytes& png, std::size_t chunkStart)
{
  const std::size_t length = static_cast<std::size_t>(png[chunkStart]) << 24 | png[chunkStart + 1] << 16 |
                             png[chunkStart + 2] << 8 | png[chunkStart + 3];
  const std::size_t crcAt = chunkStart + 8 + length;
  if (crcAt + 4 > png.size()) return;
  const uLong crc = crc32(0, &png[chunkStart + 4], static_cast<uInt>(4 + length));
  for (int i = 0; i < 4; ++i) png[crcAt + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
}

// A baseline JPEG whose only fault, a quantisation table with an index out of range, comes after
// the image data: the decoder meets it only once its bitmap is full.
[[maybe_unused]] Bytes JpegFailingAfterTheRows()
{
  Bytes jpeg = WriteJpeg(32, 32, 3, ColourRamp(32, 32));
  const Bytes badTable = {0xFF, 0xDB, 0x00, 0x03, 0x05};
  jpeg.insert(jpeg.end() - 2, badTable.begin(), badTable.end());
  return jpeg;
}

class TempDir
{
public:
  TempDir()
  {
    std::random_device random;
    mPath = std::filesystem::temp_directory_path() / ("image_decoders_test-" + std::to_string(random()));
    std::filesystem::create_directories(mPath);
  }
  ~TempDir() { std::filesystem::remove_all(mPath); }
  std::string File(const std::string& name) const { return (mPath / name).string(); }
  std::string Write(const std::string& name, const Bytes& bytes) const
  {
    std::filesystem::create_directories((mPath / name).parent_path());
    WriteFileBytes(File(name), bytes);
    return File(name);
  }

private:
  std::filesystem::path mPath;
};

TEST(PngDecoder, EveryPixelLayoutDecodesToStraightArgb)
{
  for (const PngCase& c : PngCases()) {
    SCOPED_TRACE(c.name);
    Decoded bitmap(RasterDecodePngMemory(c.file.data(), c.file.size(), nullptr));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), c.width);
    EXPECT_EQ(bitmap->Height(), c.height);
    EXPECT_EQ(ImagePixels(bitmap.get()), c.expected);
  }
}

TEST(ImageDecoders, WriteTheTopImageRowLastIntoABottomUpTarget)
{
  const PngCase png = PngCaseNamed("rgba8");
  VectorBitmap pngTarget(true, false);
  ASSERT_EQ(RasterDecodePngMemory(png.file.data(), png.file.size(), &pngTarget), &pngTarget);
  EXPECT_EQ(pngTarget.Bits()[(pngTarget.Height() - 1) * pngTarget.RowSpan()], png.expected[0]);
  EXPECT_EQ(ImagePixels(&pngTarget), png.expected);

  // Grey rows 10, 50, 90, 130 from the top.
  Bytes rows;
  for (int value : {10, 50, 90, 130}) rows.insert(rows.end(), 8, static_cast<unsigned char>(value));
  const Bytes jpeg = WriteJpeg(8, 4, 1, rows);
  VectorBitmap jpegTarget(true, false);
  ASSERT_EQ(RasterDecodeJpegMemory(jpeg.data(), jpeg.size(), &jpegTarget), &jpegTarget);
  const std::vector<std::uint32_t> pixels = ImagePixels(&jpegTarget);
  for (int y = 0; y < 4; ++y) {
    const int stored = jpegTarget.Bits()[(3 - y) * jpegTarget.RowSpan()] & 0xFF;
    EXPECT_NEAR(stored, 10 + 40 * y, 2) << "image row " << y;
  }
}

TEST(ImageDecoders, ReuseATargetAndResizeOneOfAnotherSize)
{
  const PngCase png = PngCaseNamed("rgb8");
  RasterMemBitmap sameSize(png.width, png.height, 4);
  RasterPixel* const pixelsBefore = sameSize.Bits();
  ASSERT_EQ(RasterDecodePngMemory(png.file.data(), png.file.size(), &sameSize), &sameSize);
  EXPECT_EQ(sameSize.Bits(), pixelsBefore);
  EXPECT_EQ(ImagePixels(&sameSize), png.expected);

  RasterMemBitmap otherSize(2, 2, 4);
  ASSERT_EQ(RasterDecodePngMemory(png.file.data(), png.file.size(), &otherSize), &otherSize);
  EXPECT_EQ(ImagePixels(&otherSize), png.expected);

  const Bytes jpeg = WriteJpeg(16, 16, 1, GreyRamp(16, 16));
  RasterMemBitmap jpegTarget(16, 16, 4);
  EXPECT_EQ(RasterDecodeJpegMemory(jpeg.data(), jpeg.size(), &jpegTarget), &jpegTarget);
}

TEST(ImageDecoders, TargetThatCannotTakeTheSizeGivesNullAndStaysWithItsOwner)
{
  const Bytes png = PngCaseNamed("rgba8").file;
  const Bytes jpeg = WriteJpeg(16, 16, 3, ColourRamp(16, 16));
  VectorBitmap refusing(false, true);
  EXPECT_EQ(RasterDecodePngMemory(png.data(), png.size(), &refusing), nullptr);
  EXPECT_EQ(RasterDecodeJpegMemory(jpeg.data(), jpeg.size(), &refusing), nullptr);
  EXPECT_EQ(refusing.Width(), 0);  // still alive: the decoders left it to its owner
}

TEST(PngDecoder, ShortDataOrAWrongSignatureGivesNullWithoutStartingLibpng)
{
  const Bytes png = PngCaseNamed("rgb8").file;
  Bytes wrongSignature = png;
  wrongSignature[1] = 'Q';
  const Bytes cases[] = {Cut(png, 7), Cut(png, 0), wrongSignature};
#ifdef IMAGE_TESTS_COUNT_PNG_READERS
  const int readersBefore = gPngReadersCreated;
#endif
  for (const Bytes& data : cases) EXPECT_EQ(RasterDecodePngMemory(data.data(), data.size(), nullptr), nullptr);
  EXPECT_EQ(RasterDecodePngMemory(nullptr, 100, nullptr), nullptr);
#ifdef IMAGE_TESTS_COUNT_PNG_READERS
  EXPECT_EQ(gPngReadersCreated, readersBefore);
  Decoded decoded(RasterDecodePngMemory(png.data(), png.size(), nullptr));
  EXPECT_EQ(gPngReadersCreated, readersBefore + 1);  // the spy does see a real decode
#endif
}

TEST(PngDecoder, DataCutInsideTheImageGivesNullAndCutAfterItDecodes)
{
  const PngCase c = PngCaseNamed("rgba8");
  const ChunkSpan data = FindPngChunk(c.file, "IDAT");
  ASSERT_GT(data.offset, 0);
  const std::size_t dataStart = static_cast<std::size_t>(data.offset) + 8;
  const std::size_t dataEnd = dataStart + static_cast<std::size_t>(data.length) + 4;  // with its CRC
  ASSERT_EQ(FindPngChunk(c.file, "IEND").offset, static_cast<long>(dataEnd));

  for (std::size_t cut : {static_cast<std::size_t>(data.offset), dataStart + static_cast<std::size_t>(data.length) / 2,
                          dataEnd - 4}) {
    SCOPED_TRACE(cut);
    const Bytes cutFile = Cut(c.file, cut);
    EXPECT_EQ(RasterDecodePngMemory(cutFile.data(), cutFile.size(), nullptr), nullptr);
  }
  const Bytes withoutEnd = Cut(c.file, dataEnd);
  Decoded bitmap(RasterDecodePngMemory(withoutEnd.data(), withoutEnd.size(), nullptr));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(ImagePixels(bitmap.get()), c.expected);
}

TEST(PngDecoder, ImageTooLargeToAllocateGivesNull)
{
  // 65536 x 16385 pixels are 2^32 + 2^18 bytes: 32-bit arithmetic would make that a 256 KiB buffer
  // which the second row, present in the data, would overrun.
  const Bytes cases[] = {PngHeaderAndRows(65536, 16385, 2), PngHeaderAndRows(1000000, 1000000, 0)};
  for (const Bytes& png : cases) {
    EXPECT_EQ(RasterDecodePngMemory(png.data(), png.size(), nullptr), nullptr);
    RasterMemBitmap target(4, 4, 4);
    EXPECT_EQ(RasterDecodePngMemory(png.data(), png.size(), &target), nullptr);
  }
}

#ifdef __GLIBC__
std::size_t HeapBytesInUse()
{
  const struct mallinfo2 heap = mallinfo2();
  return heap.uordblks + heap.hblkhd;  // large blocks are mapped apart from the heap
}
#endif

TEST(ImageDecoders, FailuresAfterTheBitmapWasMadeReleaseIt)
{
#ifndef __GLIBC__
  GTEST_SKIP() << "needs the C library's heap statistics";
#else
  // Each of these fails only after the decoder made its bitmap (and, for PNG, its row pointers).
  const Bytes pngCut = PngHeaderAndRows(256, 256, 128);  // data for half the rows
  const Bytes jpegBad = JpegFailingAfterTheRows();
  ASSERT_EQ(RasterDecodePngMemory(pngCut.data(), pngCut.size(), nullptr), nullptr);
  ASSERT_EQ(RasterDecodeJpegMemory(jpegBad.data(), jpegBad.size(), nullptr), nullptr);

  // A leak would be a 256 KiB bitmap or a 4 KiB bitmap a round; 64 rounds are far above the noise.
  const std::size_t before = HeapBytesInUse();
  for (int round = 0; round < 64; ++round) {
    RasterDecodePngMemory(pngCut.data(), pngCut.size(), nullptr);
    RasterDecodeJpegMemory(jpegBad.data(), jpegBad.size(), nullptr);
  }
  EXPECT_LT(HeapBytesInUse(), before + 64 * 1024);
#endif
}

// Every prefix, and every single-byte change (with the PNG chunk checksums made to match, so that
// the change reaches the parsers), either decodes to a bitmap of some size or gives null.
TEST(ImageDecoders, CutOrDamagedDataNeverCrashes)
{
  struct Case {
    const char* name;
    MemoryDecoder decode;
    Bytes file;
  };
  std::vector<Case> cases = {
      {"rgba8.png", RasterDecodePngMemory, PngCaseNamed("rgba8").file},
      {"palette2-trns.png", RasterDecodePngMemory, PngCaseNamed("palette2-trns").file},
      {"rgba8-interlaced.png", RasterDecodePngMemory, PngCaseNamed("rgba8-interlaced").file},
      {"colour.jpg", RasterDecodeJpegMemory, WriteJpeg(16, 16, 3, ColourRamp(16, 16))},
      {"progressive.jpg", RasterDecodeJpegMemory, WriteJpeg(16, 16, 3, ColourRamp(16, 16), true)},
      {"grey.jpg", RasterDecodeJpegMemory, WriteJpeg(16, 16, 1, GreyRamp(16, 16))},
  };
  auto decodeOrNull = [](MemoryDecoder decode, const Bytes& data) {
    Decoded bitmap(decode(data.data(), data.size(), nullptr));
    if (bitmap) {
      EXPECT_GT(bitmap->Width(), 0);
      EXPECT_GT(bitmap->Height(), 0);
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool isPng = c.decode == RasterDecodePngMemory;
    for (std::size_t length = 0; length < c.file.size(); ++length) decodeOrNull(c.decode, Cut(c.file, length));
    for (std::size_t at = 0; at < c.file.size(); ++at) {
      for (unsigned char change : {0x01, 0x80, 0xFF}) {
        Bytes damaged = c.file;
        damaged[at] ^= change;
        if (isPng && at >= 8) {
          std::size_t chunk = 8;
          while (chunk + 12 <= damaged.size()) {
            const std::size_t length = static_cast<std::size_t>(c.file[chunk]) << 24 | c.file[chunk + 1] << 16 |
                                       c.file[chunk + 2] << 8 | c.file[chunk + 3];
            if (at < chunk + 12 + length) break;
            chunk += 12 + length;
          }
          if (at >= chunk + 4) RewriteChunkCrc(damaged, chunk);  // not when the length itself changed
        }
        decodeOrNull(c.decode, damaged);
      }
    }
  }
}

TEST(JpegDecoder, GreyAndColourDecodeOpaqueWithinAStepOfTheSource)
{
  const int w = 16, h = 16;
  const Bytes greySamples = GreyRamp(w, h);
  const Bytes colourSamples = ColourRamp(w, h);
  struct Case {
    const char* name;
    int components;
    const Bytes* samples;
    bool progressive;
  } cases[] = {{"grey", 1, &greySamples, false}, {"colour", 3, &colourSamples, false}, {"progressive", 3, &colourSamples, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes jpeg = WriteJpeg(w, h, c.components, *c.samples, c.progressive);
    Decoded bitmap(RasterDecodeJpegMemory(jpeg.data(), jpeg.size(), nullptr));
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(bitmap->Width(), w);
    ASSERT_EQ(bitmap->Height(), h);
    const std::vector<std::uint32_t> pixels = ImagePixels(bitmap.get());
    for (int i = 0; i < w * h; ++i) {
      const std::uint32_t p = pixels[i];
      ASSERT_EQ(p >> 24, 0xFFu);
      const int channels[3] = {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF)};
      for (int k = 0; k < 3; ++k) {
        const int source = (*c.samples)[static_cast<std::size_t>(i) * c.components + (c.components == 1 ? 0 : k)];
        ASSERT_NEAR(channels[k], source, 2) << "pixel " << i << " channel " << k;
      }
    }
  }
}

TEST(JpegDecoder, CmykGivesABitmapOfTheRightSizeWithEveryPixelZero)
{
  const Bytes jpeg = WriteJpeg(8, 6, 4, Bytes(8 * 6 * 4, 0x40));
  VectorBitmap target(false, false);  // starts every pixel at 0xDEADBEEF
  ASSERT_EQ(RasterDecodeJpegMemory(jpeg.data(), jpeg.size(), &target), &target);
  EXPECT_EQ(target.Width(), 8);
  EXPECT_EQ(target.Height(), 6);
  EXPECT_EQ(ImagePixels(&target), std::vector<std::uint32_t>(8 * 6, 0u));
}

TEST(JpegDecoder, DataThatEndsEarlyIsCompletedAsAnImage)
{
  const Bytes jpeg = WriteJpeg(32, 32, 3, ColourRamp(32, 32));
  Decoded whole(RasterDecodeJpegMemory(jpeg.data(), jpeg.size(), nullptr));
  const Bytes cut = Cut(jpeg, jpeg.size() * 6 / 10);
  Decoded completed(RasterDecodeJpegMemory(cut.data(), cut.size(), nullptr));
  ASSERT_NE(whole, nullptr);
  ASSERT_NE(completed, nullptr);
  ASSERT_EQ(completed->Width(), 32);
  ASSERT_EQ(completed->Height(), 32);
  // The first row of blocks was wholly in the data, so it decodes as in the whole image.
  const std::vector<std::uint32_t> a = ImagePixels(whole.get()), b = ImagePixels(completed.get());
  EXPECT_EQ(std::vector<std::uint32_t>(a.begin(), a.begin() + 8 * 32), std::vector<std::uint32_t>(b.begin(), b.begin() + 8 * 32));
  // Data that ends before the header is still a failure.
  const Bytes headerCut = Cut(jpeg, 20);
  EXPECT_EQ(RasterDecodeJpegMemory(headerCut.data(), headerCut.size(), nullptr), nullptr);
}

TEST(ImageFileDecoders, DecodeFilesAndGiveNullForMissingOrForeignOrCutFiles)
{
  TempDir dir;
  const PngCase png = PngCaseNamed("rgba8");
  const Bytes jpeg = WriteJpeg(16, 16, 1, GreyRamp(16, 16));
  const std::string pngPath = dir.Write("image.png", png.file);
  const std::string jpegPath = dir.Write("image.jpg", jpeg);

  Decoded fromPng(RasterDecodePngFile(pngPath.c_str(), nullptr));
  ASSERT_NE(fromPng, nullptr);
  EXPECT_EQ(ImagePixels(fromPng.get()), png.expected);
  Decoded fromJpeg(RasterDecodeJpegFile(jpegPath.c_str(), nullptr));
  ASSERT_NE(fromJpeg, nullptr);
  EXPECT_EQ(fromJpeg->Width(), 16);

  const ChunkSpan data = FindPngChunk(png.file, "IDAT");
  const std::string cutPath = dir.Write("cut.png", Cut(png.file, static_cast<std::size_t>(data.offset) + 8 + data.length / 2));
  const std::string emptyPath = dir.Write("empty", Bytes{});
  const std::string missing = dir.File("missing.png");
  for (const std::string& path : {jpegPath, cutPath, emptyPath, missing}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(RasterDecodePngFile(path.c_str(), nullptr), nullptr);
  }
  for (const std::string& path : {pngPath, emptyPath, missing}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(RasterDecodeJpegFile(path.c_str(), nullptr), nullptr);
  }
}

TEST(DecoderRecords, ListReadsPngThenJpegWithTheirFilterTexts)
{
  const RasterImageDecoder* png = RasterDecoderList;
  ASSERT_NE(png, nullptr);
  EXPECT_STREQ(png->filterText(), "PNG files (*.PNG)");
  const RasterImageDecoder* jpeg = png->next;
  ASSERT_NE(jpeg, nullptr);
  EXPECT_STREQ(jpeg->filterText(), "JPEG files (*.JPG;*.JPEG;*.JFIF)");
  EXPECT_EQ(jpeg->next, nullptr);
}

TEST(DecoderRecords, CheckTheSuffixFromTheLastDotOrSeparator)
{
  TempDir dir;
  const Bytes png = PngCaseNamed("rgb8").file;
  const Bytes jpeg = WriteJpeg(16, 16, 1, GreyRamp(16, 16));
  const RasterImageDecoder* pngRecord = RasterDecoderList;
  const RasterImageDecoder* jpegRecord = RasterDecoderList->next;
  struct Case {
    const RasterImageDecoder* record;
    const char* name;
    bool accepted;
  } cases[] = {
      {jpegRecord, "photo.JPEG", true},
      {jpegRecord, "photo.jpg", true},
      {jpegRecord, "photo.JfIf", true},
      {jpegRecord, "photo.jpg.bak", false},   // the last dot starts another extension
      {jpegRecord, "album.jpg/photo", false},  // the last separator comes after the last dot
      {jpegRecord, "album.jpg\\photo", false},
      {jpegRecord, "jpg", false},
      {jpegRecord, "photo.png", false},
      {pngRecord, "knob.PNG", true},
      {pngRecord, "knob.png.old", false},
      {pngRecord, "knob.jpg", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.Write(c.name, c.record == pngRecord ? png : jpeg);
    Decoded checked(c.record->decodeFile(path.c_str(), true, nullptr));
    EXPECT_EQ(checked != nullptr, c.accepted);
    // Without the check the same file decodes, so a refusal above came from the name alone.
    Decoded unchecked(c.record->decodeFile(path.c_str(), false, nullptr));
    EXPECT_NE(unchecked, nullptr);
  }
}

}  // namespace
