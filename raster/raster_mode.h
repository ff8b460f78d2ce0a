// RasterMode: the word that selects how a drawing call combines source and destination pixels.
// Bits 0-7 pick the operator (0-5; 240-255 copy one byte channel to another, unscaled blits only;
// anything else draws nothing), 0x100 asks scaled and rotated blits to sample bilinearly, 0x10000 scales
// each source pixel's weight by its alpha. Weights are floats, 1.0 full strength, used as
// trunc(weight * 256); a weight that gives 0 draws nothing.
#pragma once

enum RasterOp : int {
  RasterOpCopy = 0,
  RasterOpAdd = 1,
  RasterOpDodge = 2,
  RasterOpMultiply = 3,
  RasterOpOverlay = 4,
  RasterOpHsvAdjust = 5,
};

enum RasterModeBits : int {
  RasterModeOpMask = 0xFF,
  RasterModeChannel = 0xF0,  // 0xF0 | (destination byte << 2) | source byte
  RasterModeBilinear = 0x100,
  RasterModeUseAlpha = 0x10000,
};

// Channel-copy mode; byte numbers are positions in memory: 0 blue, 1 green, 2 red, 3 alpha.
constexpr int RasterModeChannelCopy(int sourceByte, int destByte)
{
  return RasterModeChannel | ((destByte & 3) << 2) | (sourceByte & 3);
}

// The integer weight of a drawing call: 256 is full strength. Truncates toward zero.
inline int RasterWeightToInt(float weight) { return static_cast<int>(weight * 256.0f); }
