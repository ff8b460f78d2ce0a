// The objects behind the GDI handles of our Linux Win32 layer, shared by the parts of the layer that
// draw into device contexts (bitmaps now; text and window copies use the same surfaces). Not for use
// outside platform/linux/.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/linux/win32_types.h"

enum GdiObjectKind { GdiObjectBitmap };

// The header every object starts with, so that an HGDIOBJ can be told apart by its kind.
struct GdiObject {
  GdiObjectKind kind;
  bool stock;  // shared default object: never freed
};

struct HBITMAP__ {
  GdiObject header = {GdiObjectBitmap, false};
  int width = 0;
  int height = 0;
  bool bottomUp = false;
  int bitsPerPixel = 32;
  std::uint32_t* pixels = nullptr;  // first stored row
  HDC selectedInto = nullptr;
};

// 32-bit pixels a device context draws into, addressed by row from the top.
struct GdiSurface {
  std::uint32_t* topRow = nullptr;
  std::ptrdiff_t stride = 0;  // pixels from one row to the next below it; negative when bottom-up
  int width = 0;
  int height = 0;
};

enum GdiDcKind { GdiDcMemory };

struct HDC__ {
  GdiDcKind kind = GdiDcMemory;
  HBITMAP bitmap = nullptr;  // the selected bitmap; a memory context always has one
};

// The surface that drawing into dc lands on; false when there is none (a dead handle, or a bitmap
// that is not 32-bit, such as a memory context's default bitmap).
bool GdiSurfaceOf(HDC dc, GdiSurface* surface);
