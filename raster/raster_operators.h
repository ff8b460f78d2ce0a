// The per-pixel compositing operators shared by every drawing routine of the library. Each takes the
// destination pixel, the source red, green, blue and alpha as integers (0-255, except that area fills
// pass the weight itself as alpha) and the integer weight w (256 = full strength), and returns the new
// pixel. Division truncates toward zero throughout; an operator updates alpha with the same formula as
// the colours, using the source alpha as the source value. Internal to the library.
#pragma once

#include "raster/raster_hsv.h"
#include "raster/raster_pixel.h"

namespace raster_ops {

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Applies one channel formula f(destination byte, source value) to all four bytes.
template <class F>
inline RasterPixel EachChannel(RasterPixel d, int r, int g, int b, int a, F f)
{
  return RasterPackPixel(f(RasterAlphaOf(d), a), f(RasterRedOf(d), r), f(RasterGreenOf(d), g), f(RasterBlueOf(d), b));
}

// Whole-pixel mixes for the common copy weights: no per-channel arithmetic.
inline RasterPixel MixHalf(RasterPixel p, RasterPixel c) { return ((p >> 1) & 0x7F7F7F7Fu) + ((c >> 1) & 0x7F7F7F7Fu); }
inline RasterPixel MixThreeQuarters(RasterPixel p, RasterPixel c)
{
  return ((p >> 2) & 0x3F3F3F3Fu) + ((c >> 2) & 0x3F3F3F3Fu) + ((c >> 1) & 0x7F7F7F7Fu);
}
inline RasterPixel MixQuarter(RasterPixel p, RasterPixel c)
{
  return ((p >> 1) & 0x7F7F7F7Fu) + ((p >> 2) & 0x3F3F3F3Fu) + ((c >> 2) & 0x3F3F3F3Fu);
}

struct Copy {
  static constexpr bool kSkipsTransparent = true;
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int w)
  {
    const int keep = 256 - w;
    return EachChannel(d, r, g, b, a, [keep](int dv, int s) { return s + (dv - s) * keep / 256; });
  }
};

struct Add {
  static constexpr bool kSkipsTransparent = true;
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int w)
  {
    return EachChannel(d, r, g, b, a, [w](int dv, int s) { return Clamp255(dv + s * w / 256); });
  }
};

struct Dodge {
  static constexpr bool kSkipsTransparent = false;
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int w)
  {
    return EachChannel(d, r, g, b, a, [w](int dv, int s) {
      const int v = 256 - s * w / 256;
      return Clamp255(v > 1 ? dv * 256 / v : dv * 256);
    });
  }
};

struct Multiply {
  static constexpr bool kSkipsTransparent = true;
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int w)
  {
    const int rest = (256 - w) * 256;
    return EachChannel(d, r, g, b, a, [w, rest](int dv, int s) { return dv * (s * w + rest) / 65536; });
  }
};

struct Overlay {
  static constexpr bool kSkipsTransparent = false;
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int w)
  {
    const int rest = (256 - w) * 128;
    return EachChannel(d, r, g, b, a, [w, rest](int dv, int s) {
      const int t = s * w + rest;
      return Clamp255(((32768 - t) * dv / 256 + t) * dv / 32768);
    });
  }
};

// The source colour is an adjustment: red moves the hue, green the saturation, blue the value, each
// centred on 128. Alpha takes the low byte of the source alpha.
struct HsvAdjust {
  static constexpr bool kSkipsTransparent = false;
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int w)
  {
    RasterHsv hsv = RasterRgbToHsv(RasterRedOf(d), RasterGreenOf(d), RasterBlueOf(d));
    hsv.hue += (r + r / 2 - 192) * w / 256;
    if (hsv.hue < 0)
      hsv.hue += 384;
    else if (hsv.hue >= 384)
      hsv.hue -= 384;
    hsv.saturation = Clamp255(hsv.saturation + (g - 128) * w / 128);
    hsv.value = Clamp255(hsv.value + (b - 128) * w / 128);
    return RasterHsvToRgb(hsv) | (static_cast<RasterPixel>(a & 0xFF) << 24);
  }
};

// The with-alpha form: the weight scaled by the source pixel's alpha. Copy, add and multiply leave the
// destination alone under a fully transparent source; the others still apply at the reduced weight.
template <class Op>
struct WithAlpha {
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int w)
  {
    if (Op::kSkipsTransparent && a == 0) return d;
    return Op::Apply(d, r, g, b, a, (a + 1) * w / 256);
  }
};

// Copy with alpha at full strength: opaque sources store, transparent ones leave the pixel alone.
struct CopyFullAlpha {
  static RasterPixel Apply(RasterPixel d, int r, int g, int b, int a, int)
  {
    if (a == 0) return d;
    if (a == 255) return RasterPackPixel(255, r, g, b);
    const int k = 255 - a;
    const auto mix = [k](int dv, int s) { return s + (dv - s) * k / 256; };
    return RasterPackPixel(mix(RasterAlphaOf(d), a + 1), mix(RasterRedOf(d), r), mix(RasterGreenOf(d), g),
                           mix(RasterBlueOf(d), b));
  }
};

// Stores the source as it is (scaled and rotated copies at full strength).
struct Store {
  static RasterPixel Apply(RasterPixel, int r, int g, int b, int a, int) { return RasterPackPixel(a, r, g, b); }
};

// Calls body(Op{}) with the plain operator numbered op (0-5); false for any other number.
template <class Body>
inline bool WithPlainOperator(int op, Body&& body)
{
  switch (op) {
    case 0: body(Copy{}); return true;
    case 1: body(Add{}); return true;
    case 2: body(Dodge{}); return true;
    case 3: body(Multiply{}); return true;
    case 4: body(Overlay{}); return true;
    case 5: body(HsvAdjust{}); return true;
    default: return false;
  }
}

// Calls body(Op{}) with the operator a blit's mode (copy, operators 1-5, with or without alpha) and
// integer weight select: a copy at full strength is Store, a copy with alpha at full strength is
// CopyFullAlpha. False when the combination draws nothing.
template <class Body>
inline bool WithBlitOperator(int mode, int w, Body&& body)
{
  if (w == 0) return false;
  const int key = mode & 0x100FF;
  if (key == 0) {
    if (w < 0) return false;
    if (w == 256)
      body(Store{});
    else
      body(Copy{});
    return true;
  }
  switch (key) {
    case 1: body(Add{}); return true;
    case 2: body(Dodge{}); return true;
    case 3: body(Multiply{}); return true;
    case 4: body(Overlay{}); return true;
    case 5: body(HsvAdjust{}); return true;
    case 0x10000:
      if (w == 256)
        body(CopyFullAlpha{});
      else
        body(WithAlpha<Copy>{});
      return true;
    case 0x10001: body(WithAlpha<Add>{}); return true;
    case 0x10002: body(WithAlpha<Dodge>{}); return true;
    case 0x10003: body(WithAlpha<Multiply>{}); return true;
    case 0x10004: body(WithAlpha<Overlay>{}); return true;
    case 0x10005: body(WithAlpha<HsvAdjust>{}); return true;
    default: return false;
  }
}

// Applies Op with a packed source pixel.
template <class Op>
inline RasterPixel ApplyPixel(RasterPixel d, RasterPixel s, int w)
{
  return Op::Apply(d, RasterRedOf(s), RasterGreenOf(s), RasterBlueOf(s), RasterAlphaOf(s), w);
}

}  // namespace raster_ops
