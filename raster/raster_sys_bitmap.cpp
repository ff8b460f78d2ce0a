#include "raster/raster_sys_bitmap.h"

#include "platform/win32.h"

RasterSysBitmap::RasterSysBitmap(int width, int height)
{
  mDc = CreateCompatibleDC(nullptr);
  Resize(width, height);
}

RasterSysBitmap::~RasterSysBitmap()
{
  ReleaseDib();
  if (mDc) DeleteDC(mDc);
}

void RasterSysBitmap::ReleaseDib()
{
  if (mReplacedObject && mDc) SelectObject(mDc, static_cast<HGDIOBJ>(mReplacedObject));
  mReplacedObject = nullptr;
  if (mDib) DeleteObject(static_cast<HGDIOBJ>(mDib));
  mDib = nullptr;
  mPixels = nullptr;
}

bool RasterSysBitmap::Resize(int width, int height)
{
  if (!mDc) {
    mWidth = mHeight = 0;
    mPixels = nullptr;
    return false;
  }
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  if (width > 0 && height > 0 && mDib && mAllocatedWidth >= width && mAllocatedHeight >= height) return true;

  mAllocatedWidth = (width + 3) & ~3;
  mAllocatedHeight = height;
  ReleaseDib();
  // A negative side is as empty as a zero one: it must not turn into a bottom-up section.
  if (mAllocatedWidth <= 0 || mAllocatedHeight <= 0) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = mAllocatedWidth;
  info.bmiHeader.biHeight = -mAllocatedHeight;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    mDib = dib;
    mPixels = static_cast<RasterPixel*>(bits);
    mReplacedObject = SelectObject(mDc, dib);
  } else {
    if (dib) DeleteObject(dib);
    mWidth = mHeight = 0;
    mPixels = nullptr;
  }
  return true;
}
