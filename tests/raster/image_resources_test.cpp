// The resources of our Linux Win32 layer and the resource decoders, over two test libraries that
// each carry their own images: found by id from a library's own handle and from no other.
#include "platform/win32.h"
#include "raster/jpeg_decoder.h"
#include "raster/png_decoder.h"
#include "raster/raster_bitmap.h"
#include "tests/raster/image_fixtures.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using Decoded = std::unique_ptr<RasterBitmap>;

// Loaded once for the whole program; the loader's handle is the module handle.
HMODULE Load(const char* path)
{
  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  EXPECT_NE(handle, nullptr) << dlerror();
  return static_cast<HMODULE>(handle);
}

HMODULE Images() { static HMODULE module = Load(IMAGES_LIBRARY); return module; }
HMODULE OtherImages() { static HMODULE module = Load(OTHER_IMAGES_LIBRARY); return module; }

std::string Fixture(const char* name) { return std::string(FIXTURE_DIR) + "/" + name; }

Bytes ResourceBytes(HMODULE module, int id, const char* type)
{
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!resource) return {};
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
  return Bytes(data, data + SizeofResource(module, resource));
}

TEST(ModuleResources, EachLibraryFindsItsOwnImagesByIdAndType)
{
  ASSERT_NE(Images(), nullptr);
  ASSERT_NE(OtherImages(), nullptr);
  EXPECT_EQ(ResourceBytes(Images(), 100, "PNG"), ReadFileBytes(Fixture("rgb8.png")));
  EXPECT_EQ(ResourceBytes(Images(), 100, "png"), ReadFileBytes(Fixture("rgb8.png")));  // types ignore case
  EXPECT_EQ(ResourceBytes(Images(), 101, "PNG"), ReadFileBytes(Fixture("short.png")));
  EXPECT_EQ(ResourceBytes(Images(), 103, "JPG"), ReadFileBytes(Fixture("grey.jpg")));
  EXPECT_EQ(ResourceBytes(OtherImages(), 200, "PNG"), ReadFileBytes(Fixture("rgba8.png")));
  EXPECT_EQ(ResourceBytes(OtherImages(), 201, "PNG"), ReadFileBytes(Fixture("rgb8.png")));
}

TEST(ModuleResources, NothingIsFoundUnderAnotherModuleIdOrType)
{
  struct Case {
    const char* what;
    HMODULE module;
    int id;
    const char* type;
  } cases[] = {
      {"the other library's id", Images(), 200, "PNG"},
      {"this library's id in the other", OtherImages(), 100, "PNG"},
      {"the main program", nullptr, 100, "PNG"},
      {"a JPG id under PNG", Images(), 103, "PNG"},
      {"a PNG id under JPG", Images(), 100, "JPG"},
      {"an id nobody has", Images(), 999, "PNG"},
      {"a type that only starts the same", Images(), 100, "PN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FindResourceA(c.module, MAKEINTRESOURCEA(c.id), c.type), nullptr);
  }
  EXPECT_EQ(FindResourceA(Images(), "100", "PNG"), nullptr);  // named resources are not carried
  EXPECT_EQ(SizeofResource(Images(), nullptr), 0u);
  EXPECT_EQ(LoadResource(Images(), nullptr), nullptr);
}

TEST(ModuleResources, ResourceDecodersReadTheModulesOwnImages)
{
  const PngCase rgb = PngCaseNamed("rgb8");
  Decoded png(RasterDecodePngResource(Images(), 100, nullptr));
  ASSERT_NE(png, nullptr);
  ASSERT_EQ(png->Width(), rgb.width);
  ASSERT_EQ(png->Height(), rgb.height);
  for (int y = 0; y < rgb.height; ++y)
    for (int x = 0; x < rgb.width; ++x) ASSERT_EQ(png->Bits()[y * png->RowSpan() + x], rgb.expected[y * rgb.width + x]);

  Decoded jpeg(RasterDecodeJpegResource(Images(), 103, nullptr));
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(jpeg->Width(), 16);
  EXPECT_EQ(jpeg->Bits()[0] >> 24, 0xFFu);

  // 7 bytes; a wrong signature; an id of the other library; a PNG asked for as JPG.
  EXPECT_EQ(RasterDecodePngResource(Images(), 101, nullptr), nullptr);
  EXPECT_EQ(RasterDecodePngResource(Images(), 102, nullptr), nullptr);
  EXPECT_EQ(RasterDecodePngResource(Images(), 200, nullptr), nullptr);
  EXPECT_EQ(RasterDecodeJpegResource(Images(), 100, nullptr), nullptr);
  Decoded other(RasterDecodePngResource(OtherImages(), 200, nullptr));
  EXPECT_NE(other, nullptr);
}

}  // namespace
