// A minimal 32-bit host for one plug-in DLL, the way a real host meets it: LoadLibraryA, the entry
// point by name from GetProcAddress, a plain C host callback, then open, set up, one block of audio
// through each processing callback, and close.
//
//   dll_host <plugin.dll> [--name <effect name>] [--png-resources <count>]
//
// --name compares the effect's answer to effGetEffectName; --png-resources requires at least that
// many resources of type "PNG" in the DLL, each holding a PNG file. Exit code 0 when every check
// passed; each failed check is printed.
#include "platform/win32.h"
#include "vst/vst2_abi.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int failures = 0;

bool Check(bool ok, const char* what)
{
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
  return ok;
}

constexpr float kSampleRate = 44100.0f;
constexpr int kBlock = 512;

VstIntPtr VST_CALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(kSampleRate);
    case audioMasterGetBlockSize: return kBlock;
    case audioMasterGetVendorString: std::strcpy(static_cast<char*>(ptr), "Test Vendor"); return 1;
    case audioMasterGetProductString: std::strcpy(static_cast<char*>(ptr), "dll_host"); return 1;
    case audioMasterGetVendorVersion: return 1;
    default: return 0;
  }
}

VstIntPtr Dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f)
{
  return e->dispatcher(e, opcode, index, value, ptr, opt);
}

// Counts the "PNG" resources and checks each starts with the PNG signature.
struct PngResources {
  int count = 0;
  int valid = 0;
};

BOOL CALLBACK CountPng(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
  auto* found = reinterpret_cast<PngResources*>(param);
  ++found->count;
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  HRSRC info = FindResourceA(module, name, type);
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (bytes && SizeofResource(module, info) > sizeof kSignature && std::memcmp(bytes, kSignature, sizeof kSignature) == 0)
    ++found->valid;
  return TRUE;
}

// One block of a stereo sine through a replacing callback; the output must be finite and must carry
// the signal (every effect here passes audio at its default settings).
template <typename Sample, typename Proc>
void RunBlock(AEffect* e, Proc process, const char* label)
{
  const int channels = e->numInputs > e->numOutputs ? e->numInputs : e->numOutputs;
  std::vector<std::vector<Sample>> in(channels, std::vector<Sample>(kBlock));
  std::vector<std::vector<Sample>> out(channels, std::vector<Sample>(kBlock, Sample(-7)));
  for (auto& ch : in)
    for (int i = 0; i < kBlock; ++i)
      ch[i] = Sample(0.5 * std::sin(2.0 * 3.14159265358979 * 1000.0 * i / kSampleRate));
  std::vector<Sample*> inPtrs, outPtrs;
  for (int c = 0; c < channels; ++c) {
    inPtrs.push_back(in[c].data());
    outPtrs.push_back(out[c].data());
  }
  process(e, inPtrs.data(), outPtrs.data(), kBlock);

  bool finite = true;
  double peak = 0.0;
  bool untouched = false;
  for (int c = 0; c < e->numOutputs; ++c)
    for (Sample s : out[c]) {
      finite = finite && std::isfinite(static_cast<double>(s));
      peak = std::fmax(peak, std::fabs(static_cast<double>(s)));
      untouched = untouched || s == Sample(-7);
    }
  std::string what = std::string(label) + ": output samples are finite";
  Check(finite, what.c_str());
  what = std::string(label) + ": every output sample was written";
  Check(!untouched, what.c_str());
  what = std::string(label) + ": the signal passes (output peak above 0.01)";
  Check(peak > 0.01, what.c_str());
  std::printf("%s: %d frames, output peak %.4f\n", label, kBlock, peak);
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2) {
    std::printf("usage: %s <plugin.dll> [--name <effect name>] [--png-resources <count>]\n", argv[0]);
    return 2;
  }
  const char* path = argv[1];
  const char* expectedName = nullptr;
  int expectedPng = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--name") == 0)
      expectedName = argv[i + 1];
    else if (std::strcmp(argv[i], "--png-resources") == 0)
      expectedPng = std::atoi(argv[i + 1]);
  }

  HMODULE module = LoadLibraryA(path);
  if (!Check(module != nullptr, "LoadLibraryA loads the DLL")) {
    std::printf("LoadLibraryA(%s) failed with error %lu\n", path, GetLastError());
    return 1;
  }
  auto entry = reinterpret_cast<VSTPluginMainProc>(reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")));
  auto alias = reinterpret_cast<VSTPluginMainProc>(reinterpret_cast<void*>(GetProcAddress(module, "main")));
  Check(alias != nullptr, "GetProcAddress finds \"main\"");
  if (!Check(entry != nullptr, "GetProcAddress finds \"VSTPluginMain\""))
    return 1;

  if (expectedPng > 0) {
    PngResources found;
    EnumResourceNamesA(module, "PNG", CountPng, reinterpret_cast<LONG_PTR>(&found));
    std::printf("resources of type PNG: %d, %d with a PNG signature\n", found.count, found.valid);
    Check(found.count >= expectedPng, "the DLL holds the expected number of PNG resources");
    Check(found.valid == found.count, "every PNG resource holds a PNG file");
  }

  AEffect* effect = entry(HostCallback);
  if (!Check(effect != nullptr, "VSTPluginMain returns an effect record"))
    return 1;
  Check(effect->magic == kEffectMagic, "the record carries the effect magic");
  Check(effect->object != nullptr, "the record points at its object");
  Check(effect->numInputs >= 1 && effect->numOutputs >= 1, "the record has inputs and outputs");
  if (!Check(effect->dispatcher && effect->processReplacing, "the record has a dispatcher and processReplacing"))
    return 1;

  // Each call of the entry point makes an independent instance; "main" is the same entry.
  if (alias) {
    AEffect* other = alias(HostCallback);
    if (Check(other != nullptr, "\"main\" returns an effect record")) {
      Check(other != effect && other->object != effect->object, "a second call makes a second instance");
      Check(other->uniqueID == effect->uniqueID, "\"main\" makes the same effect");
      Dispatch(other, effClose);
    }
  }

  Dispatch(effect, effOpen);
  Dispatch(effect, effSetSampleRate, 0, 0, nullptr, kSampleRate);
  Dispatch(effect, effSetBlockSize, 0, kBlock);
  Dispatch(effect, effMainsChanged, 0, 1);

  char name[256] = {};
  Dispatch(effect, effGetEffectName, 0, 0, name);
  std::printf("effect \"%s\", id 0x%08lx, %d parameters, %d in, %d out, flags 0x%lx\n", name,
              static_cast<unsigned long>(effect->uniqueID), static_cast<int>(effect->numParams),
              static_cast<int>(effect->numInputs), static_cast<int>(effect->numOutputs),
              static_cast<unsigned long>(effect->flags));
  if (expectedName)
    Check(std::strcmp(name, expectedName) == 0, "effGetEffectName answers the expected name");

  RunBlock<float>(effect, effect->processReplacing, "processReplacing");
  if (effect->flags & effFlagsCanDoubleReplacing) {
    if (Check(effect->processDoubleReplacing != nullptr, "double-replacing flag comes with its callback"))
      RunBlock<double>(effect, effect->processDoubleReplacing, "processDoubleReplacing");
  }

  Dispatch(effect, effMainsChanged, 0, 0);
  Dispatch(effect, effClose);
  Check(FreeLibrary(module) != 0, "FreeLibrary unloads the DLL");

  std::printf("%s: %s\n", path, failures ? "FAILED" : "all checks passed");
  return failures ? 1 : 0;
}
