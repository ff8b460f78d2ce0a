// Text for the response plot: a line of text rendered to an 8-bit coverage mask (0 = nothing,
// 255 = full ink), which the plot composites in its colour. Open gives null when no font can be
// had (a build without FreeType, or no font installed); the plot is then drawn without text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TextMask {
  int width = 0;
  int height = 0;
  int baseline = 0;  // rows from the top of the mask to the baseline
  std::vector<std::uint8_t> coverage;  // height rows of width bytes
};

class PlotFont {
public:
  static std::unique_ptr<PlotFont> Open();
  virtual ~PlotFont() = default;
  virtual TextMask Render(const std::string& text, int pixelSize) = 0;
};

// The mask turned a quarter turn counter-clockwise (text reading upward).
TextMask RotateQuarterTurn(const TextMask& mask);
