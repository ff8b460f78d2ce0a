// Plot text for builds without FreeType: there is no font, so plots carry no text.
#include "plot_text.h"

std::unique_ptr<PlotFont> PlotFont::Open() { return nullptr; }

TextMask RotateQuarterTurn(const TextMask& mask) { return mask; }
