// Device contexts and bitmaps of our Linux Win32 layer, behaving as on Windows: a memory device
// context starts with a 1 x 1 default bitmap selected; SelectObject returns the object it replaced (null
// on failure, e.g. a bitmap already selected into another context); DeleteObject refuses an object
// that is selected into a context and any handle that is not a live object; DeleteDC releases the
// objects selected into it without deleting them. CreateDIBSection makes 32-bit BI_RGB sections only,
// top-down for a negative height, bottom-up for a positive one, with zeroed pixels.
#pragma once

#include "platform/linux/win32_types.h"

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
