#include <cstdint>

#include <gtest/gtest.h>

#include "platform/linux/gdi_objects.h"
#include "platform/win32.h"

namespace {

BITMAPINFO Info32(int width, int height)
{
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TEST(Gdi, SelectObjectReturnsWhatItReplaced)
{
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  const BITMAPINFO a = Info32(4, -3), b = Info32(2, -2);
  void* bitsA = nullptr;
  void* bitsB = nullptr;
  HBITMAP dibA = CreateDIBSection(dc, &a, DIB_RGB_COLORS, &bitsA, nullptr, 0);
  HBITMAP dibB = CreateDIBSection(nullptr, &b, DIB_RGB_COLORS, &bitsB, nullptr, 0);
  ASSERT_NE(dibA, nullptr);
  ASSERT_NE(dibB, nullptr);

  HGDIOBJ original = SelectObject(dc, dibA);  // the context's default bitmap
  ASSERT_NE(original, nullptr);
  EXPECT_NE(original, static_cast<HGDIOBJ>(dibA));
  EXPECT_EQ(SelectObject(dc, dibB), static_cast<HGDIOBJ>(dibA));
  EXPECT_EQ(SelectObject(dc, dibB), static_cast<HGDIOBJ>(dibB));  // reselecting the same one
  EXPECT_EQ(SelectObject(dc, original), static_cast<HGDIOBJ>(dibB));

  EXPECT_TRUE(DeleteObject(dibA));
  EXPECT_TRUE(DeleteObject(dibB));
  EXPECT_TRUE(DeleteDC(dc));
}

TEST(Gdi, SelectedBitmapCannotBeDeletedOrSharedUntilReleased)
{
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  const BITMAPINFO info = Info32(8, -8);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ original = SelectObject(first, dib);
  ASSERT_NE(original, nullptr);

  EXPECT_EQ(SelectObject(second, dib), nullptr);  // one context at a time
  EXPECT_FALSE(DeleteObject(dib));                // still selected: refused, still usable
  static_cast<uint32_t*>(bits)[63] = 1;

  SelectObject(first, original);
  EXPECT_NE(SelectObject(second, dib), nullptr);  // free again
  EXPECT_TRUE(DeleteDC(second));                  // releases the bitmap without deleting it
  EXPECT_TRUE(DeleteObject(dib));
  EXPECT_FALSE(DeleteObject(dib));                // a dead handle
  EXPECT_TRUE(DeleteDC(first));
  EXPECT_FALSE(DeleteDC(first));
  EXPECT_EQ(SelectObject(first, original), nullptr);
}

TEST(Gdi, DibSectionOrientationFollowsTheSignOfTheHeight)
{
  HDC dc = CreateCompatibleDC(nullptr);
  for (int height : {-3, 3}) {
    const BITMAPINFO info = Info32(5, height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(bits, nullptr);
    uint32_t* pixels = static_cast<uint32_t*>(bits);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(pixels[i], 0u) << "new pixels are zero";

    HGDIOBJ original = SelectObject(dc, dib);
    GdiSurface surface;
    ASSERT_TRUE(GdiSurfaceOf(dc, &surface));
    EXPECT_EQ(surface.width, 5);
    EXPECT_EQ(surface.height, 3);
    // The top image row is the first stored row of a top-down section and the last of a bottom-up one.
    EXPECT_EQ(surface.topRow, height < 0 ? pixels : pixels + 10) << height;
    EXPECT_EQ(surface.stride, height < 0 ? 5 : -5);
    SelectObject(dc, original);
    EXPECT_FALSE(GdiSurfaceOf(dc, &surface)) << "the default bitmap is not a 32-bit surface";
    DeleteObject(dib);
  }
  DeleteDC(dc);
}

TEST(Gdi, CreateDibSectionRefusesWhatItCannotMake)
{
  struct Case { const char* what; int width, height, planes, bitCount, compression, size; };
  const Case cases[] = {
      {"24-bit", 4, -4, 1, 24, BI_RGB, 40},       {"bit fields", 4, -4, 1, 32, 3, 40},
      {"zero width", 0, -4, 1, 32, BI_RGB, 40},   {"zero height", 4, 0, 1, 32, BI_RGB, 40},
      {"negative width", -4, 4, 1, 32, BI_RGB, 40}, {"two planes", 4, -4, 2, 32, BI_RGB, 40},
      {"short header", 4, -4, 1, 32, BI_RGB, 12}, {"huge", 100000, -100000, 1, 32, BI_RGB, 40},
  };
  for (const Case& c : cases) {
    BITMAPINFO info = Info32(c.width, c.height);
    info.bmiHeader.biPlanes = static_cast<WORD>(c.planes);
    info.bmiHeader.biBitCount = static_cast<WORD>(c.bitCount);
    info.bmiHeader.biCompression = static_cast<DWORD>(c.compression);
    info.bmiHeader.biSize = static_cast<DWORD>(c.size);
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << c.what;
    EXPECT_EQ(bits, nullptr) << c.what;
  }
  void* bits = nullptr;
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

}  // namespace
