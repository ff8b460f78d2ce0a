// The built plug-in libraries, loaded the way a host loads them: dlopen, VSTPluginMain, then the
// effect record alone.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/effects/EffectHarness.h"

namespace {

using test_host::Harness;

struct Library {
  const char* path;
  VstInt32 uniqueId;
  int bandParam;       // a band gain parameter...
  int bandFreq;        // ...and its centre at the defaults, in Hz
  bool exactIdentity;  // flat bands bypassed bit for bit
};

const Library kLibraries[] = {
    {SEMTAR_LIBRARY, VstFourCharId('s', 'e', 'm', 't'), 1 + 45, 440, true},  // A4
    {BASKEL_LIBRARY, VstFourCharId('B', 's', 'k', 'l'), 1 + 4, 200, true},   // 4 x Tune
    {THORVIN_LIBRARY, VstFourCharId('t', 'h', 'r', 'v'), 1 + 5, 250, false}, // 5 x Tune
};

class PluginLibraryTest : public ::testing::TestWithParam<Library> {
protected:
  void SetUp() override
  {
    handle = dlopen(GetParam().path, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
  }
  void TearDown() override
  {
    if (handle != nullptr) dlclose(handle);
  }
  void* handle = nullptr;
};

TEST_P(PluginLibraryTest, ExportsOnlyTheEntryPoint)
{
  void* entry = dlsym(handle, "VSTPluginMain");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(dlsym(handle, "main"), entry);
  EXPECT_EQ(dlsym(handle, "CreateEffectInstance"), nullptr);
}

TEST_P(PluginLibraryTest, BlockThroughTheLoadedEffectHasTheExpectedResponse)
{
  auto entry = reinterpret_cast<VSTPluginMainProc>(dlsym(handle, "VSTPluginMain"));
  ASSERT_NE(entry, nullptr);
  AEffect* effect = entry(test_host::Callback);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->magic, kEffectMagic);
  EXPECT_EQ(effect->uniqueID, GetParam().uniqueId);
  {
    Harness host(effect);
    host.Open(48000.0f);

    // At the defaults every band is flat: the 32-bit path gives the input back.
    std::vector<float> in(3000);
    const std::vector<double> noise = test_host::Noise(3000, 5);
    for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<float>(noise[i]);
    std::vector<float> right;
    const std::vector<float> out = host.ProcessFloatMono(in, &right);
    for (size_t i = 0; i < in.size(); ++i) {
      if (GetParam().exactIdentity) {
        ASSERT_EQ(out[i], in[i]);
      } else {
        ASSERT_NEAR(out[i], in[i], 2e-6);
      }
      ASSERT_EQ(right[i], out[i]);
    }

    // One band at +12 dB and its neighbourhood an octave away is only mildly touched.
    host.SetParameter(GetParam().bandParam, 1.0f);
    double left, rightDb;
    host.GainDbAt(GetParam().bandFreq, 48000, &left, &rightDb);
    EXPECT_NEAR(left, 12.0, 0.05);
    EXPECT_NEAR(rightDb, 12.0, 0.05);
    host.GainDbAt(GetParam().bandFreq * 4, 48000, &left, &rightDb);
    EXPECT_LT(left, 3.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Plugins, PluginLibraryTest, ::testing::ValuesIn(kLibraries));

}  // namespace
