// Plot text through FreeType, with the font found by fontconfig (a plain sans-serif face).
#include "plot_text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace {

std::string FindSansFont()
{
  std::string path;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config)
    return path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans:style=Regular"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcChar8* file = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
    path = reinterpret_cast<const char*>(file);
  if (match)
    FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return path;
}

class FreetypeFont final : public PlotFont {
public:
  FreetypeFont(FT_Library library, FT_Face face) : mLibrary(library), mFace(face) {}
  ~FreetypeFont() override
  {
    FT_Done_Face(mFace);
    FT_Done_FreeType(mLibrary);
  }
  FreetypeFont(const FreetypeFont&) = delete;
  FreetypeFont& operator=(const FreetypeFont&) = delete;

  TextMask Render(const std::string& text, int pixelSize) override
  {
    TextMask mask;
    if (FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(pixelSize)) != 0)
      return mask;
    const int ascender = static_cast<int>(mFace->size->metrics.ascender >> 6);
    const int descender = static_cast<int>(-(mFace->size->metrics.descender >> 6));
    mask.baseline = ascender;
    mask.height = ascender + descender;

    // First pass: the advance width; second pass: the glyphs into the mask.
    int width = 0;
    for (unsigned char c : text)
      if (FT_Load_Char(mFace, c, FT_LOAD_DEFAULT) == 0)
        width += static_cast<int>(mFace->glyph->advance.x >> 6);
    mask.width = width + 2;  // room for a last glyph that reaches past its advance
    mask.coverage.assign(static_cast<std::size_t>(mask.width) * mask.height, 0);

    int penX = 0;
    for (unsigned char c : text) {
      if (FT_Load_Char(mFace, c, FT_LOAD_RENDER) != 0)
        continue;
      const FT_GlyphSlot glyph = mFace->glyph;
      const FT_Bitmap& bitmap = glyph->bitmap;
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = mask.baseline - glyph->bitmap_top + static_cast<int>(row);
        if (y < 0 || y >= mask.height)
          continue;
        for (unsigned column = 0; column < bitmap.width; ++column) {
          const int x = penX + glyph->bitmap_left + static_cast<int>(column);
          if (x < 0 || x >= mask.width)
            continue;
          std::uint8_t& cell = mask.coverage[static_cast<std::size_t>(y) * mask.width + x];
          cell = std::max(cell, bitmap.buffer[row * bitmap.pitch + column]);
        }
      }
      penX += static_cast<int>(glyph->advance.x >> 6);
    }
    return mask;
  }

private:
  FT_Library mLibrary;
  FT_Face mFace;
};

}  // namespace

std::unique_ptr<PlotFont> PlotFont::Open()
{
  const std::string path = FindSansFont();
  if (path.empty())
    return nullptr;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0)
    return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    FT_Done_FreeType(library);
    return nullptr;
  }
  return std::make_unique<FreetypeFont>(library, face);
}

TextMask RotateQuarterTurn(const TextMask& mask)
{
  TextMask turned;
  turned.width = mask.height;
  turned.height = mask.width;
  turned.baseline = mask.baseline;
  turned.coverage.assign(mask.coverage.size(), 0);
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x)
      turned.coverage[static_cast<std::size_t>(mask.width - 1 - x) * turned.width + y] =
          mask.coverage[static_cast<std::size_t>(y) * mask.width + x];
  return turned;
}
