// Lines, circles and arcs: clipping, the dedicated loops, antialiasing and the small-circle masks.
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "raster/raster_area.h"
#include "raster/raster_circle_masks.h"
#include "raster/raster_mem_bitmap.h"
#include "raster/raster_mode.h"
#include "raster/raster_stroke.h"
#include "tests/raster/raster_test_support.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr RasterPixel kWhite = 0xFFFFFFFF;

using Points = std::set<std::pair<int, int>>;

Points Touched(RasterBitmap& bitmap)
{
  Points points;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (RasterReadPixel(&bitmap, x, y) != 0) points.insert({x, y});
  return points;
}

Points Line(int width, int height, int x1, int y1, int x2, int y2)
{
  RasterMemBitmap bitmap(width, height, 4);
  Paint(bitmap, 0);
  RasterStrokeLine(&bitmap, x1, y1, x2, y2, kWhite, 1.0f, 0, false);
  return Touched(bitmap);
}

TEST(RasterStrokeLine, ClipsToTheBitmap)
{
  Points row5;
  for (int x = 0; x < 100; ++x) row5.insert({x, 5});
  EXPECT_EQ(Line(100, 10, -10, 5, 200, 5), row5);
  EXPECT_EQ(Line(100, 10, -10, 2, -3, 8), Points{});   // both left
  EXPECT_EQ(Line(10, 10, 3, -10, 20, -1), Points{});   // both above

  Points diagonal;
  for (int k = 0; k < 10; ++k) diagonal.insert({k, k});
  EXPECT_EQ(Line(10, 10, -5, -5, 20, 20), diagonal);

  // (-4, 0) to (16, 10) on 10 x 10 becomes (0, 2) to (9, 6), then is stepped from both ends.
  const Points general = {{0, 2}, {1, 2}, {2, 3}, {3, 3}, {4, 4}, {5, 4}, {6, 5}, {7, 5}, {8, 6}, {9, 6}};
  EXPECT_EQ(Line(10, 10, -4, 0, 16, 10), general);
  EXPECT_EQ(Line(10, 10, 16, 10, -4, 0).size(), 10u);
}

TEST(RasterStrokeLine, HorizontalHalfWeightMatchesTheFill)
{
  RasterMemBitmap line(8, 3, 4), fill(8, 3, 4);
  PaintPattern(line), PaintPattern(fill);
  RasterStrokeLine(&line, 6, 1, 1, 1, 0x80FF4020, 0.5f, 0, false);
  RasterFillArea(&fill, 1, 1, 6, 1, 0x80FF4020, 0.5f, 0);
  EXPECT_EQ(ReadImage(line), ReadImage(fill));
}

TEST(RasterStrokeLine, AliasedHalfCopyAveragesBytes)
{
  // Weight 0.5 + a little still truncates to w = 128: (colour byte + destination byte) / 2.
  RasterMemBitmap bitmap(4, 4, 4);
  Paint(bitmap, 0x01010101);
  RasterStrokeLine(&bitmap, 0, 0, 3, 2, kWhite, 0.501f, 0, false);
  EXPECT_EQ(RasterReadPixel(&bitmap, 0, 0), 0x80808080u);  // whereas the whole-pixel mix gives 0x7F
}

TEST(RasterStrokeLine, AntialiasedDiagonalClosesTheStaircase)
{
  RasterMemBitmap bitmap(5, 5, 4);
  Paint(bitmap, 0);
  RasterStrokeLine(&bitmap, 0, 0, 3, 3, kWhite, 1.0f, 0, true);
  const Points diagonal = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
  const Points stairs = {{1, 0}, {0, 1}, {2, 1}, {1, 2}, {3, 2}, {2, 3}};
  Points all = diagonal;
  all.insert(stairs.begin(), stairs.end());
  EXPECT_EQ(Touched(bitmap), all);
  // Three quarters (0x3F + 0x7F) on the diagonal, one quarter on the stairs.
  for (const auto& p : diagonal) EXPECT_EQ(RasterReadPixel(&bitmap, p.first, p.second), 0xBEBEBEBEu);
  for (const auto& p : stairs) EXPECT_EQ(RasterReadPixel(&bitmap, p.first, p.second), 0x3F3F3F3Fu);

  // Other weights run the copy at 3w / 4 and w / 4: 96 and 32 out of 256 of white over black.
  Paint(bitmap, 0);
  RasterStrokeLine(&bitmap, 3, 3, 0, 0, kWhite, 0.5f, 0, true);
  EXPECT_EQ(RasterReadPixel(&bitmap, 1, 1), 0x60606060u);
  EXPECT_EQ(RasterReadPixel(&bitmap, 2, 1), 0x20202020u);
}

TEST(RasterStrokeLine, AntialiasedGeneralLineSharesCoverage)
{
  // (0, 0) to (4, 2): slope 1/2. Full ends; at x = 1 and 3 the line is half-way between two rows;
  // at x = 2 it is on row 1.
  RasterMemBitmap bitmap(5, 3, 4);
  Paint(bitmap, 0);
  RasterStrokeLine(&bitmap, 0, 0, 4, 2, kWhite, 1.0f, 0, true);
  // clang-format off
  const std::vector<int> expected = {0xFF, 0x7F, 0x00, 0x00, 0x00,
                                     0x00, 0x80, 0xFF, 0x80, 0x00,
                                     0x00, 0x00, 0x00, 0x7F, 0xFF};
  // clang-format on
  std::vector<int> reds;
  for (RasterPixel p : ReadImage(bitmap)) reds.push_back(RasterRedOf(p));
  EXPECT_EQ(reds, expected);
}

TEST(RasterStrokeLine, OperatorsAndWeightsThatDrawNothing)
{
  for (auto [weight, mode] : {std::pair<float, int>{0.0f, 0}, {1.0f, 6}, {-1.0f, 0}, {0.001f, 1}}) {
    RasterMemBitmap bitmap(4, 4, 4);
    Paint(bitmap, 0);
    RasterStrokeLine(&bitmap, 0, 0, 3, 1, kWhite, weight, mode, false);
    RasterStrokeCircle(&bitmap, 2, 2, 1.0f, kWhite, weight, mode, true);
    EXPECT_EQ(Touched(bitmap), Points{}) << weight << " " << mode;
  }
  RasterStrokeLine(nullptr, 0, 0, 1, 1, kWhite, 1.0f, 0, false);
}

TEST(RasterStrokeCircle, SmallRadiiUseTheirMaskAtTheCorner)
{
  struct Case {
    float radius;
    bool antialias;
    int corner, side;
  };
  const Case cases[] = {{2.0f, false, 8, 5}, {2.5f, true, 7, 6}, {3.0f, false, 7, 7}, {3.0f, true, 7, 7},
                        {3.5f, false, 6, 8}, {4.0f, true, 6, 9}};
  for (const Case& c : cases) {
    RasterMemBitmap circle(20, 20, 4), masked(20, 20, 4);
    Paint(circle, 0), Paint(masked, 0);
    RasterStrokeCircle(&circle, 10.0f, 10.0f, c.radius, kWhite, 0.8f, 0, c.antialias);
    RasterCircleMask mask;
    ASSERT_TRUE(RasterFindCircleMask(c.radius, c.antialias, &mask));
    ASSERT_EQ(mask.side, c.side);
    RasterCompositeCoverage(&masked, c.corner, c.corner, kWhite, mask.coverage, mask.side, mask.side, 0.8f, 0);
    EXPECT_EQ(ReadImage(circle), ReadImage(masked)) << c.radius;
    const Points touched = Touched(circle);
    ASSERT_FALSE(touched.empty());
    EXPECT_EQ(touched.begin()->first, c.corner) << c.radius;  // leftmost column
    EXPECT_EQ(touched.rbegin()->first, c.corner + c.side - 1) << c.radius;
  }
}

TEST(RasterStrokeCircle, AliasedMidpointCircle)
{
  RasterMemBitmap bitmap(21, 21, 4);
  Paint(bitmap, 0);
  RasterStrokeCircle(&bitmap, 10.0f, 10.0f, 5.0f, kWhite, 1.0f, 0, false);
  Points expected;
  const int offsets[][2] = {{0, 5}, {1, 5}, {2, 5}, {3, 4}};
  for (const auto& o : offsets)
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) {
        expected.insert({10 + sx * o[0], 10 + sy * o[1]});
        expected.insert({10 + sy * o[1], 10 + sx * o[0]});
      }
  EXPECT_EQ(Touched(bitmap), expected);
}

TEST(RasterStrokeCircle, AntialiasedCircleSplitsWeightAcrossTheCrossing)
{
  RasterMemBitmap bitmap(21, 21, 4);
  Paint(bitmap, 0);
  RasterStrokeCircle(&bitmap, 10.0f, 10.0f, 5.0f, kWhite, 1.0f, 0, true);
  struct Expect {
    int x, y, red;
  };
  const Expect expects[] = {
      {10, 5, 255},  // m = 0: on the circle
      {13, 6, 255},  // m = 3: l = 4 exactly
      // m = 1: l = 4.899, outside pixel weight 230, inside 26: white over black at those weights.
      {11, 5, 230},
      {11, 6, 26},
      {5, 9, 230},
      // m = 2: l = 4.583, weights 149 and 107.
      {8, 15, 149},
      {8, 14, 107},
      {10, 10, 0},
  };
  for (const Expect& e : expects)
    EXPECT_EQ(RasterRedOf(RasterReadPixel(&bitmap, e.x, e.y)), e.red) << e.x << "," << e.y;
}

TEST(RasterStrokeCircle, CircleNearTheEdgeIsClipped)
{
  BottomUpBitmap bitmap(12, 12);
  Paint(bitmap, 0);
  RasterStrokeCircle(&bitmap, 1.0f, 10.5f, 6.0f, kWhite, 0.7f, 1, true);
  RasterStrokeCircle(&bitmap, 11.0f, 0.0f, 7.0f, kWhite, 1.0f, 0, false);
  RasterStrokeArc(&bitmap, -3.0f, 13.0f, 8.0f, -1.0f, 2.5f, kWhite, 1.0f, 0, true);
  EXPECT_TRUE(bitmap.PaddingIntact());
  EXPECT_FALSE(Touched(bitmap).empty());
}

Points Arc(float start, float end, bool bottomUp = false)
{
  RasterMemBitmap top(21, 21, 4);
  BottomUpBitmap bottom(21, 21);
  RasterBitmap& bitmap = bottomUp ? static_cast<RasterBitmap&>(bottom) : top;
  Paint(bitmap, 0);
  RasterStrokeArc(&bitmap, 10.0f, 10.0f, 6.0f, start, end, kWhite, 1.0f, 0, false);
  return Touched(bitmap);
}

TEST(RasterStrokeArc, PiecesStayInTheirQuarterOrHalf)
{
  const Points quarter = Arc(0.0f, kPi / 2);
  EXPECT_TRUE(quarter.count({10, 4}) && quarter.count({16, 10}));
  for (const auto& p : quarter) EXPECT_TRUE(p.first >= 10 && p.second <= 10) << p.first << "," << p.second;

  // -pi/2 to pi/2 is drawn as its left and right pieces: the whole top half.
  const Points top = Arc(-kPi / 2, kPi / 2);
  EXPECT_TRUE(top.count({4, 10}) && top.count({16, 10}) && top.count({10, 4}));
  for (const auto& p : top) EXPECT_LE(p.second, 10);
  Points pieces = Arc(3 * kPi / 2, 2 * kPi);
  const Points right = Arc(0.0f, kPi / 2);
  pieces.insert(right.begin(), right.end());
  EXPECT_EQ(top, pieces);
}

TEST(RasterStrokeArc, PieceStartingAtPiIsTheLeftHalf)
{
  // The lower half: [pi/2, pi] on the right and [pi, 3 pi / 2] on the left.
  const Points bottom = Arc(kPi / 2, 3 * kPi / 2);
  EXPECT_TRUE(bottom.count({16, 10}) && bottom.count({10, 16}) && bottom.count({4, 10}));
  for (const auto& p : bottom) EXPECT_GE(p.second, 10);
  EXPECT_EQ(Arc(kPi, 3 * kPi / 2).count({4, 10}), 1u);
  // Arcs wholly before 0 or past 2 pi are whole turns away from the same arc.
  EXPECT_EQ(Arc(-kPi, -kPi / 2), Arc(kPi, 3 * kPi / 2));
  EXPECT_EQ(Arc(2 * kPi + 0.5f, 2 * kPi + 2.0f), Arc(0.5f, 2.0f));
}

TEST(RasterStrokeArc, FullTurnIsTheCircle)
{
  RasterMemBitmap circle(21, 21, 4);
  Paint(circle, 0);
  RasterStrokeCircle(&circle, 10.0f, 10.0f, 6.0f, kWhite, 1.0f, 0, false);
  EXPECT_EQ(Arc(-1.0f, 2 * kPi), Touched(circle));
}

TEST(RasterStrokeArc, BottomUpBitmapsShowTheSameArc)
{
  // Ends on the axes, where the rows that bound each piece do not depend on rounding direction.
  for (auto [start, end] : {std::pair<float, float>{0.0f, kPi / 2}, {-kPi / 2, kPi / 2}, {kPi / 2, 3 * kPi / 2},
                            {kPi, 2 * kPi}}) {
    EXPECT_EQ(Arc(start, end, true), Arc(start, end, false)) << start << " " << end;
  }
}

TEST(RasterStroke, BottomUpLinesAndCirclesShowTheSameImage)
{
  RasterMemBitmap top(16, 12, 4);
  BottomUpBitmap bottom(16, 12);
  for (RasterBitmap* b : {static_cast<RasterBitmap*>(&top), static_cast<RasterBitmap*>(&bottom)}) {
    PaintPattern(*b);
    RasterStrokeLine(b, 1, 1, 14, 6, 0xFF20A040, 0.8f, 0, true);
    RasterStrokeLine(b, 2, 10, 9, 3, 0xFF20A040, 0.6f, 1, false);
    RasterStrokeLine(b, 3, 0, 3, 11, 0xFF20A040, 0.75f, 0, false);
    RasterStrokeCircle(b, 8.0f, 6.0f, 4.5f, 0xFFFF0000, 0.9f, 4, true);
    RasterStrokeCircle(b, 8.0f, 6.0f, 3.0f, 0xFF00FF00, 1.0f, 0, true);
  }
  EXPECT_EQ(ReadImage(top), ReadImage(bottom));
}

}  // namespace
