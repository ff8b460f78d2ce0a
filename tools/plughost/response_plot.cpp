#include "response_plot.h"

#include "plot_text.h"
#include "png_writer.h"
#include "response_measure.h"

#include "raster/raster_area.h"
#include "raster/raster_mem_bitmap.h"
#include "raster/raster_mode.h"
#include "raster/raster_stroke.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kWidth = 1000, kHeight = 560;
constexpr int kLeft = 72, kRight = 24, kTop = 62, kBottom = 58;
constexpr int kRasterCopy = RasterOpCopy;

constexpr RasterPixel kBackground = 0xFFFFFFFF;
constexpr RasterPixel kPlotArea = 0xFFFAFAFA;
constexpr RasterPixel kMinorGrid = 0xFFE6E6E6;
constexpr RasterPixel kMajorGrid = 0xFFC4C4C4;
constexpr RasterPixel kZeroLine = 0xFF8A8A8A;
constexpr RasterPixel kFrame = 0xFF606060;
constexpr RasterPixel kText = 0xFF303030;
constexpr RasterPixel kCurves[] = {0xFF1F5FBF, 0xFFD9731A};

struct Axes {
  double lowHz, highHz, topDb;
  int x0() const { return kLeft; }
  int x1() const { return kWidth - kRight; }
  int y0() const { return kTop; }
  int y1() const { return kHeight - kBottom; }
  int X(double hz) const
  {
    double t = std::log10(hz / lowHz) / std::log10(highHz / lowHz);
    return x0() + static_cast<int>(std::lround(t * (x1() - x0())));
  }
  int Y(double db) const
  {
    double t = (topDb - std::clamp(db, -topDb, topDb)) / (2.0 * topDb);
    return y0() + static_cast<int>(std::lround(t * (y1() - y0())));
  }
};

double DbStep(double topDb) { return topDb <= 12.0 ? 3.0 : topDb <= 30.0 ? 6.0 : 12.0; }

double TopDb(const ResponseCurve& curve)
{
  double largest = 0.0;
  for (const auto& channel : curve.gainDb)
    for (double db : channel)
      largest = std::max(largest, std::fabs(db));
  largest = std::min(largest, 60.0);
  double step = DbStep(largest + 1.0);
  return std::clamp(std::ceil((largest + 1.0) / step) * step, 6.0, 60.0);
}

std::string FrequencyLabel(double hz)
{
  char text[16];
  if (hz >= 1000.0)
    std::snprintf(text, sizeof text, "%gk", hz / 1000.0);
  else
    std::snprintf(text, sizeof text, "%g", hz);
  return text;
}

std::string DbLabel(double db)
{
  char text[16];
  std::snprintf(text, sizeof text, db > 0 ? "+%g" : "%g", db);
  return text;
}

class Plot {
public:
  Plot() : mBitmap(kWidth, kHeight, 4), mFont(PlotFont::Open()) {}

  RasterBitmap& Bitmap() { return mBitmap; }

  void Fill(int x, int y, int w, int h, RasterPixel colour)
  {
    RasterFillArea(&mBitmap, x, y, w, h, colour, 1.0f, kRasterCopy);
  }
  void Line(int x1, int y1, int x2, int y2, RasterPixel colour, bool antialias = false)
  {
    RasterStrokeLine(&mBitmap, x1, y1, x2, y2, colour, 1.0f, kRasterCopy, antialias);
  }

  // Text placed by an anchor: align -1 left, 0 centred, 1 right of x; y is the vertical centre.
  // Text wider than maxWidth is set smaller until it fits (down to a legible minimum).
  void Text(const std::string& text, int x, int y, int align, int size, bool upward = false, int maxWidth = kWidth)
  {
    if (!mFont)
      return;
    constexpr int kSmallest = 9;
    TextMask mask = mFont->Render(text, size);
    while (mask.width > maxWidth && size > kSmallest)
      mask = mFont->Render(text, --size);
    if (upward)
      mask = RotateQuarterTurn(mask);
    if (mask.width < 1 || mask.height < 1)
      return;
    int left = align < 0 ? x : align == 0 ? x - mask.width / 2 : x - mask.width;
    int top = y - mask.height / 2;
    RasterCompositeCoverage(&mBitmap, left, top, kText, mask.coverage.data(), mask.width, mask.height, 1.0f,
                            kRasterCopy);
  }

private:
  RasterMemBitmap mBitmap;
  std::unique_ptr<PlotFont> mFont;
};

void DrawGrid(Plot& plot, const Axes& axes)
{
  // Frequency lines at 1..9 times each power of ten; the decades and the labelled 2 and 5 darker.
  for (double decade = 10.0; decade < axes.highHz; decade *= 10.0)
    for (int m = 1; m <= 9; ++m) {
      const double hz = decade * m;
      if (hz < axes.lowHz || hz > axes.highHz)
        continue;
      const int x = axes.X(hz);
      const bool labelled = m == 1 || m == 2 || m == 5;
      plot.Line(x, axes.y0(), x, axes.y1(), m == 1 ? kMajorGrid : kMinorGrid);
      if (labelled)
        plot.Text(FrequencyLabel(hz), x, axes.y1() + 14, 0, 13);
    }
  const double step = DbStep(axes.topDb);
  for (double db = -axes.topDb; db <= axes.topDb + 1e-9; db += step) {
    const int y = axes.Y(db);
    plot.Line(axes.x0(), y, axes.x1(), y, db == 0.0 ? kZeroLine : kMajorGrid);
    plot.Text(DbLabel(db), axes.x0() - 8, y, 1, 13);
  }
}

void DrawCurve(Plot& plot, const Axes& axes, const ResponseCurve& curve, const std::vector<double>& gains,
               RasterPixel colour)
{
  for (std::size_t k = 1; k < curve.frequencies.size(); ++k) {
    const int xa = axes.X(curve.frequencies[k - 1]), xb = axes.X(curve.frequencies[k]);
    const int ya = axes.Y(gains[k - 1]), yb = axes.Y(gains[k]);
    // Two pixels thick: the segment and its copy one row up.
    plot.Line(xa, ya, xb, yb, colour, true);
    plot.Line(xa, ya - 1, xb, yb - 1, colour, true);
  }
}

bool ChannelsDiffer(const ResponseCurve& curve)
{
  if (curve.gainDb.size() < 2)
    return false;
  for (std::size_t k = 0; k < curve.frequencies.size(); ++k)
    if (std::fabs(curve.gainDb[0][k] - curve.gainDb[1][k]) > 0.01)
      return true;
  return false;
}

}  // namespace

void WriteResponsePlot(const std::string& path, const ResponseCurve& curve, const std::string& title,
                       const std::string& subtitle)
{
  Plot plot;
  const Axes axes{kResponseLowestHz, curve.sampleRate / 2.0, TopDb(curve)};
  plot.Fill(0, 0, kWidth, kHeight, kBackground);
  plot.Fill(axes.x0(), axes.y0(), axes.x1() - axes.x0(), axes.y1() - axes.y0(), kPlotArea);
  DrawGrid(plot, axes);

  const bool both = ChannelsDiffer(curve);
  if (!curve.gainDb.empty()) {
    if (both)
      DrawCurve(plot, axes, curve, curve.gainDb[1], kCurves[1]);
    DrawCurve(plot, axes, curve, curve.gainDb[0], kCurves[0]);
  }

  // The frame last, so that curves at the limits do not cover it.
  plot.Line(axes.x0(), axes.y0(), axes.x1(), axes.y0(), kFrame);
  plot.Line(axes.x0(), axes.y1(), axes.x1(), axes.y1(), kFrame);
  plot.Line(axes.x0(), axes.y0(), axes.x0(), axes.y1(), kFrame);
  plot.Line(axes.x1(), axes.y0(), axes.x1(), axes.y1(), kFrame);

  plot.Text(title, kWidth / 2, 18, 0, 16);
  plot.Text(subtitle, kWidth / 2, 40, 0, 13, false, kWidth - 20);
  plot.Text("Frequency (Hz)", (axes.x0() + axes.x1()) / 2, kHeight - 16, 0, 14);
  plot.Text("Gain (dB)", 18, (axes.y0() + axes.y1()) / 2, 0, 14, true);
  if (both) {
    plot.Text("out 1", axes.x1() - 80, axes.y0() + 14, -1, 13);
    plot.Fill(axes.x1() - 100, axes.y0() + 13, 14, 2, kCurves[0]);
    plot.Text("out 2", axes.x1() - 80, axes.y0() + 32, -1, 13);
    plot.Fill(axes.x1() - 100, axes.y0() + 31, 14, 2, kCurves[1]);
  }
  WritePng(path, plot.Bitmap());
}
