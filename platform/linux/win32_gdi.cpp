#include "platform/linux/win32_gdi.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <type_traits>
#include <unordered_set>

#include "platform/linux/gdi_objects.h"

static_assert(std::is_standard_layout_v<HBITMAP__>, "a bitmap handle must also point at its GdiObject header");

namespace {

// Live handles, so that a stale or foreign handle fails as it does on Windows instead of being used.
struct Registry {
  std::mutex lock;
  std::unordered_set<const void*> objects;
  std::unordered_set<const void*> contexts;
};

Registry& TheRegistry()
{
  static Registry* registry = new Registry;  // never destroyed: objects may be freed during exit
  return *registry;
}

// Every memory context starts with this 1 x 1 monochrome bitmap selected, as on Windows.
HBITMAP DefaultBitmap()
{
  static HBITMAP bitmap = [] {
    HBITMAP b = new HBITMAP__;
    b->header.stock = true;
    b->width = 1;
    b->height = 1;
    b->bitsPerPixel = 1;
    return b;
  }();
  return bitmap;
}

GdiObject* LiveObject(HGDIOBJ handle)
{
  if (handle == DefaultBitmap()) return &DefaultBitmap()->header;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  return r.objects.count(handle) ? static_cast<GdiObject*>(handle) : nullptr;
}

bool LiveContext(HDC dc)
{
  if (!dc) return false;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  return r.contexts.count(dc) != 0;
}

HBITMAP AsBitmap(GdiObject* object) { return reinterpret_cast<HBITMAP>(object); }

void Free(GdiObject* object)
{
  switch (object->kind) {
    case GdiObjectBitmap: {
      HBITMAP bitmap = AsBitmap(object);
      std::free(bitmap->pixels);
      delete bitmap;
      break;
    }
  }
}

}  // namespace

HDC CreateCompatibleDC(HDC)
{
  HDC dc = new (std::nothrow) HDC__;
  if (!dc) return nullptr;
  dc->bitmap = DefaultBitmap();
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.contexts.insert(dc);
  return dc;
}

BOOL DeleteDC(HDC dc)
{
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    if (!dc || !r.contexts.erase(dc)) return FALSE;
  }
  if (dc->bitmap && !dc->bitmap->header.stock) dc->bitmap->selectedInto = nullptr;
  delete dc;
  return TRUE;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD)
{
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biBitCount != 32 || h.biCompression != BI_RGB)
    return nullptr;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return nullptr;
  const long long width = h.biWidth, height = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
  if (width * height > (1LL << 28)) return nullptr;  // 1 GiB of pixels: more than any context needs

  HBITMAP bitmap = new (std::nothrow) HBITMAP__;
  if (!bitmap) return nullptr;
  bitmap->width = static_cast<int>(width);
  bitmap->height = static_cast<int>(height);
  bitmap->bottomUp = h.biHeight > 0;
  bitmap->pixels = static_cast<std::uint32_t*>(std::calloc(static_cast<size_t>(width * height), 4));
  if (!bitmap->pixels) {
    delete bitmap;
    return nullptr;
  }
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.objects.insert(bitmap);
  }
  if (bits) *bits = bitmap->pixels;
  return bitmap;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle)
{
  if (!LiveContext(dc)) return nullptr;
  GdiObject* object = LiveObject(handle);
  if (!object || object->kind != GdiObjectBitmap) return nullptr;
  HBITMAP bitmap = AsBitmap(object);
  if (!bitmap->header.stock && bitmap->selectedInto && bitmap->selectedInto != dc) return nullptr;
  HBITMAP previous = dc->bitmap;
  if (previous && !previous->header.stock) previous->selectedInto = nullptr;
  if (!bitmap->header.stock) bitmap->selectedInto = dc;
  dc->bitmap = bitmap;
  return previous;
}

BOOL DeleteObject(HGDIOBJ handle)
{
  GdiObject* object = LiveObject(handle);
  if (!object) return FALSE;
  if (object->stock) return TRUE;  // deleting a stock object is harmless and does nothing
  if (object->kind == GdiObjectBitmap && AsBitmap(object)->selectedInto) return FALSE;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.objects.erase(object);
  }
  Free(object);
  return TRUE;
}

bool GdiSurfaceOf(HDC dc, GdiSurface* surface)
{
  if (!LiveContext(dc) || !dc->bitmap || dc->bitmap->bitsPerPixel != 32 || !dc->bitmap->pixels) return false;
  const HBITMAP b = dc->bitmap;
  surface->width = b->width;
  surface->height = b->height;
  if (b->bottomUp) {
    surface->topRow = b->pixels + static_cast<std::ptrdiff_t>(b->height - 1) * b->width;
    surface->stride = -b->width;
  } else {
    surface->topRow = b->pixels;
    surface->stride = b->width;
  }
  return true;
}
