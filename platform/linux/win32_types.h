// The basic Win32 types, handles and constants of our Linux Win32 layer, with the sizes and layouts
// they have on Windows. Only what our code uses is declared.
#pragma once

#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef void* HANDLE;

// Handles are distinct pointer types, as on Windows.
typedef struct HDC__* HDC;
typedef struct HBITMAP__* HBITMAP;
typedef void* HGDIOBJ;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;

// A positive biHeight describes a bottom-up bitmap, a negative one a top-down bitmap.
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO;

static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER has its Windows layout");

#define BI_RGB 0
#define DIB_RGB_COLORS 0
