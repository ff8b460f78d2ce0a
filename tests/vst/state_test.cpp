// State chunks and programs, through the dispatcher.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/vst/RecordingSurface.h"
#include "tests/vst/TestHost.h"

namespace {

std::vector<unsigned char> Bytes(std::initializer_list<unsigned> bytes)
{
  return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

void AppendDouble(std::vector<unsigned char>* out, double v)
{
  unsigned char b[8];
  std::memcpy(b, &v, 8);  // the test machines are little-endian, like the chunk format
  out->insert(out->end(), b, b + 8);
}

std::vector<unsigned char> Chunk(std::initializer_list<double> values, bool header = true)
{
  std::vector<unsigned char> c = header ? Bytes({0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00})
                                        : std::vector<unsigned char>{};
  for (double v : values) {
    AppendDouble(&c, v);
  }
  return c;
}

std::vector<unsigned char> GetChunk(TestHost& t, int index)
{
  void* data = nullptr;
  const VstIntPtr size = t.Dispatch(effGetChunk, index, 0, &data);
  if (size <= 0 || data == nullptr) {
    return {};
  }
  const unsigned char* p = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(p, p + size);
}

VstIntPtr SetChunk(TestHost& t, std::vector<unsigned char> bytes, int index = 0)
{
  unsigned char none = 0;  // an empty chunk still comes with a pointer
  return t.Dispatch(effSetChunk, index, static_cast<VstIntPtr>(bytes.size()), bytes.empty() ? &none : bytes.data());
}

double Value(TestHost& t, int param) { return t.Plug()->GetParam(param)->Value(); }

std::string ProgramName(TestHost& t, int index)
{
  char name[256];
  t.Dispatch(effGetProgramNameIndexed, index, 0, name);
  return name;
}

}  // namespace

TEST(Chunks, ChunkBytesHoldHeaderAndPlainValues)
{
  TestHost t;
  t.Set(TestEffect::kGain, 0.75f);
  const std::vector<unsigned char> expected = Chunk({6.0, 1.0, 2.0});
  EXPECT_EQ(GetChunk(t, 0), expected);  // bank
  EXPECT_EQ(GetChunk(t, 1), expected);  // program
  EXPECT_EQ(t.Dispatch(effGetChunk, 0, 0, nullptr), 0);
}

TEST(Chunks, BankChunkStoresTheCurrentProgramFirst)
{
  TestHost t;
  t.Dispatch(effSetProgram, 0, 0);  // slot 0 now holds the defaults
  t.Set(TestEffect::kGain, 1.0f);
  GetChunk(t, 1);  // a program chunk stores nothing
  t.Plug()->LoadPreset(0);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), 0.0);

  t.Set(TestEffect::kGain, 1.0f);
  GetChunk(t, 0);
  t.Set(TestEffect::kGain, 0.0f);
  t.Plug()->LoadPreset(0);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), 12.0);
}

TEST(Chunks, RoundTripRestoresValuesAndTellsTheEffect)
{
  TestHost t;
  t.Set(TestEffect::kGain, 0.25f);
  t.Set(TestEffect::kSteps, 1.0f);
  const std::vector<unsigned char> saved = GetChunk(t, 0);

  TestHost u;
  const int before = u.Plug()->paramChangeTotal;
  EXPECT_EQ(SetChunk(u, saved), 1);
  EXPECT_DOUBLE_EQ(Value(u, TestEffect::kGain), -6.0);
  EXPECT_DOUBLE_EQ(Value(u, TestEffect::kSteps), 10.0);
  EXPECT_EQ(u.Plug()->paramChangeTotal - before, 3);
  EXPECT_EQ(GetChunk(u, 0), saved);
}

TEST(Chunks, ReadingEdgeCases)
{
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
    int index;
    VstIntPtr result;
    double gain, width, steps;
  };
  // The instance starts from Gain 3, Width 2, Steps 5 in every case.
  const Case cases[] = {
      {"bare values, no header", Chunk({-3.0, 0.5, 7.0}, false), 1, 1, -3.0, 0.5, 7.0},
      {"values out of range are limited", Chunk({30.0, -1.0, 11.0}), 0, 1, 12.0, 0.1, 10.0},
      {"short: 16 bytes of values", Chunk({-1.0, 3.0}), 0, 0, -1.0, 3.0, 0.0},
      {"magic without version", Bytes({0x74, 0x66, 0x66, 0x70}), 0, 0, 3.0, 2.0, 5.0},
      {"empty chunk", {}, 0, 0, 0.0, 2.0, 5.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestHost t;
    t.Plug()->GetParam(TestEffect::kGain)->SetValue(3.0);
    t.Plug()->GetParam(TestEffect::kWidth)->SetValue(2.0);
    t.Plug()->GetParam(TestEffect::kSteps)->SetValue(5.0);
    const int before = t.Plug()->paramChangeTotal;
    EXPECT_EQ(SetChunk(t, c.bytes, c.index), c.result);
    EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), c.gain);
    EXPECT_DOUBLE_EQ(Value(t, TestEffect::kWidth), c.width);
    EXPECT_DOUBLE_EQ(Value(t, TestEffect::kSteps), c.steps);
    EXPECT_EQ(t.Plug()->paramChangeTotal - before, 3);  // every parameter, whatever was read
  }
}

TEST(Chunks, NaNLeavesAValueAndInfinityIsLimited)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  TestHost t;
  t.Set(TestEffect::kGain, 0.75f);
  EXPECT_EQ(SetChunk(t, Chunk({nan, inf, -inf})), 1);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), 6.0);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kWidth), 4.0);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kSteps), 0.0);
}

TEST(Chunks, NullOrNegativeChunkChangesNothing)
{
  TestHost t;
  t.Set(TestEffect::kGain, 0.75f);
  std::vector<unsigned char> bytes = Chunk({-12.0, 4.0, 10.0});
  const int before = t.Plug()->paramChangeTotal;
  EXPECT_EQ(t.Dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), nullptr), 0);
  EXPECT_EQ(t.Dispatch(effSetChunk, 0, -8, bytes.data()), 0);
  EXPECT_EQ(t.Dispatch(effSetChunk, 1, -1, bytes.data()), 0);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), 6.0);
  EXPECT_EQ(t.Plug()->paramChangeTotal, before);
}

TEST(Chunks, ProgramChunkAndHeaderlessChunkStoreIntoTheCurrentProgram)
{
  struct Case {
    std::vector<unsigned char> bytes;
    int index;
    bool stored;
  };
  const Case cases[] = {
      {Chunk({5.0, 1.0, 2.0}), 1, true},
      {Chunk({5.0, 1.0, 2.0}, false), 0, true},
      {Chunk({5.0, 1.0, 2.0}), 0, false},  // a bank chunk with a header does not
  };
  for (const Case& c : cases) {
    TestHost t;
    EXPECT_EQ(SetChunk(t, c.bytes, c.index), 1);
    // Slot 0 is still uninitialised: its first load appends the current values (-1) to whatever
    // was stored, and the next load reads from the start.
    t.Plug()->GetParam(TestEffect::kGain)->SetValue(-1.0);
    t.Plug()->LoadPreset(0);
    t.Plug()->GetParam(TestEffect::kGain)->SetValue(7.0);
    t.Plug()->LoadPreset(0);
    EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), c.stored ? 5.0 : -1.0) << c.index;
  }
}

TEST(Programs, NamesSwitchingAndUserPresetNumbers)
{
  TestHost t;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ProgramName(t, i), "- " + std::to_string(i + 1) + " -");
  }
  EXPECT_EQ(ProgramName(t, 6), "");
  EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, 6, 0, std::vector<char>(256).data()), 0);
  EXPECT_EQ(t.Dispatch(effGetProgramNameIndexed, -1, 0, std::vector<char>(256).data()), 0);
  EXPECT_EQ(t.Dispatch(effGetProgram), 0);

  t.Set(TestEffect::kGain, 0.75f);
  t.Dispatch(effSetProgram, 0, 3);
  EXPECT_EQ(t.Dispatch(effGetProgram), 3);
  EXPECT_EQ(ProgramName(t, 3), "user preset 1");
  char name[256];
  t.Dispatch(effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "user preset 1");

  t.Set(TestEffect::kGain, 0.25f);
  t.Dispatch(effSetProgram, 0, 5);  // leaving program 3 stores -6 into it
  EXPECT_EQ(ProgramName(t, 5), "user preset 2");
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), -6.0);  // loading a fresh slot keeps the values

  t.Set(TestEffect::kGain, 1.0f);
  t.Dispatch(effSetProgram, 0, 3);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), -6.0);

  // Out of range changes nothing but still stores the current program.
  t.Set(TestEffect::kGain, 0.0f);
  std::vector<VstIntPtr> bad = {-1, 6};
  if (sizeof(VstIntPtr) > 4) {
    bad.push_back(static_cast<VstIntPtr>((1LL << 32) + 5));  // must not wrap to program 5
  }
  for (VstIntPtr index : bad) {
    t.Dispatch(effSetProgram, 0, index);
    EXPECT_EQ(t.Dispatch(effGetProgram), 3);
    EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), -12.0);
  }
  t.Dispatch(effSetProgram, 0, 5);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), 12.0);
  t.Dispatch(effSetProgram, 0, 3);
  EXPECT_DOUBLE_EQ(Value(t, TestEffect::kGain), -12.0);
}

TEST(Programs, Renaming)
{
  TestHost t;
  t.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Bright"));
  EXPECT_EQ(ProgramName(t, 0), "Bright");

  // An empty name keeps the old one but stores the values.
  t.Set(TestEffect::kGain, 1.0f);
  t.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(""));
  EXPECT_EQ(ProgramName(t, 0), "Bright");
  t.Dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(ProgramName(t, 1), "user preset 1");

  // A host name longer than the slot is cut to 255 characters.
  std::string longName(1000, 'n');
  t.Dispatch(effSetProgramName, 0, 0, longName.data());
  EXPECT_EQ(ProgramName(t, 1), std::string(255, 'n'));
  EXPECT_EQ(t.Dispatch(effSetProgramName, 0, 0, nullptr), 0);

  // Naming did not initialise slot 0: its first load names it like any fresh slot.
  t.Dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(ProgramName(t, 0), "user preset 1");
}

TEST(Programs, LoadsAndChunksPushPlainValuesToTheEditor)
{
  TestHost t;
  bool deleted = false;
  RecordingSurface* surface = new RecordingSurface(300, 200, &deleted);
  t.Plug()->AttachEditor(surface);

  t.Set(TestEffect::kGain, 0.75f);
  t.Dispatch(effSetProgram, 0, 2);
  t.Set(TestEffect::kGain, 0.25f);
  t.Dispatch(effSetProgram, 0, 0);  // program 2 keeps -6
  t.Set(TestEffect::kGain, 1.0f);
  surface->pushes.clear();
  t.Dispatch(effSetProgram, 0, 2);
  ASSERT_EQ(surface->pushes.size(), 3u);
  EXPECT_EQ(surface->pushes[0].paramIdx, 0);
  EXPECT_DOUBLE_EQ(surface->pushes[0].value, -6.0);
  EXPECT_FALSE(surface->pushes[0].isNormalized);
  EXPECT_EQ(surface->pushes[2].paramIdx, 2);
  EXPECT_DOUBLE_EQ(surface->pushes[2].value, 2.0);

  surface->pushes.clear();
  SetChunk(t, Chunk({-3.0, 1.0, 4.0}));
  ASSERT_EQ(surface->pushes.size(), 3u);
  EXPECT_DOUBLE_EQ(surface->pushes[0].value, -3.0);
  EXPECT_FALSE(surface->pushes[0].isNormalized);

  surface->pushes.clear();
  SetChunk(t, Chunk({-3.0}));  // short: values applied, editor not refreshed
  EXPECT_TRUE(surface->pushes.empty());
}
