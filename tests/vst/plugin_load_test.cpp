// The test plug-in library as a host sees it: its exported symbols, loading it with the loader and
// driving it through the entry point it exports.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/vst/HostRecorder.h"

namespace {

// The names of the symbols a shared object defines for the dynamic loader (its .dynsym).
std::set<std::string> DefinedDynamicSymbols(const char* path)
{
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::set<std::string> names;
  if (image.size() < sizeof(Elf64_Ehdr)) {
    return names;
  }
  Elf64_Ehdr eh;
  std::memcpy(&eh, image.data(), sizeof eh);
  if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64) {
    return names;
  }
  std::vector<Elf64_Shdr> sections(eh.e_shnum);
  std::memcpy(sections.data(), image.data() + eh.e_shoff, eh.e_shnum * sizeof(Elf64_Shdr));
  for (const Elf64_Shdr& sh : sections) {
    if (sh.sh_type != SHT_DYNSYM) {
      continue;
    }
    const Elf64_Shdr& strtab = sections[sh.sh_link];
    for (std::size_t off = sh.sh_entsize; off + sizeof(Elf64_Sym) <= sh.sh_size; off += sh.sh_entsize) {
      Elf64_Sym sym;
      std::memcpy(&sym, image.data() + sh.sh_offset + off, sizeof sym);
      if (sym.st_shndx != SHN_UNDEF) {
        names.insert(image.data() + strtab.sh_offset + sym.st_name);
      }
    }
  }
  return names;
}

}  // namespace

TEST(PluginLibrary, ExportsExactlyTheTwoEntryPoints)
{
  const std::set<std::string> expected = {"VSTPluginMain", "main"};
  EXPECT_EQ(DefinedDynamicSymbols(TESTPLUG_PATH), expected);
}

TEST(PluginLibrary, LoadsAndRunsThroughItsEntryPoint)
{
  void* lib = dlopen(TESTPLUG_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  auto entry = reinterpret_cast<VSTPluginMainProc>(dlsym(lib, "VSTPluginMain"));
  auto mainEntry = reinterpret_cast<VSTPluginMainProc>(dlsym(lib, "main"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(mainEntry, entry);
  EXPECT_EQ(dlsym(lib, "CreateEffectInstance"), nullptr);

  HostRecorder host;
  host.productString = "Test Host";
  host.vendorVersion = 10000;
  AEffect* a = entry(&HostRecorder::Callback);
  AEffect* b = mainEntry(&HostRecorder::Callback);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(a->magic, kEffectMagic);
  EXPECT_EQ(a->numParams, 3);
  EXPECT_EQ(a->numPrograms, 6);
  EXPECT_EQ(a->flags, 0x1018);

  a->dispatcher(a, effOpen, 0, 0, nullptr, 0.0f);
  a->dispatcher(a, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  a->dispatcher(a, effSetBlockSize, 0, 128, nullptr, 0.0f);
  a->dispatcher(a, effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(host.Count(audioMasterGetProductString), 1);

  std::vector<float> in0(128, 0.25f), in1(128, -0.25f), out0(128), out1(128);
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
  a->processReplacing(a, ins, outs, 128);
  EXPECT_EQ(out0, in0);
  EXPECT_EQ(out1, in1);

  a->setParameter(a, 0, 1.0f);
  EXPECT_FLOAT_EQ(a->getParameter(a, 0), 1.0f);
  char text[64];
  a->dispatcher(a, effGetParamDisplay, 0, 0, text, 0.0f);
  EXPECT_STREQ(text, "12.0");

  a->dispatcher(a, effClose, 0, 0, nullptr, 0.0f);
  b->dispatcher(b, effClose, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(dlclose(lib), 0);
}

TEST(PluginLibrary, TwoCopiesLoadedTogetherShareNothing)
{
  // A second file with the same code, as two of our plug-ins would be.
  const std::string copy = std::string(TESTPLUG_PATH) + ".copy.so";
  {
    std::ifstream src(TESTPLUG_PATH, std::ios::binary);
    std::ofstream dst(copy, std::ios::binary | std::ios::trunc);
    dst << src.rdbuf();
  }
  void* one = dlopen(TESTPLUG_PATH, RTLD_NOW | RTLD_GLOBAL);
  void* two = dlopen(copy.c_str(), RTLD_NOW | RTLD_GLOBAL);
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  auto entryOne = reinterpret_cast<VSTPluginMainProc>(dlsym(one, "VSTPluginMain"));
  auto entryTwo = reinterpret_cast<VSTPluginMainProc>(dlsym(two, "VSTPluginMain"));
  EXPECT_NE(entryOne, entryTwo);

  HostRecorder host;
  AEffect* a = entryOne(&HostRecorder::Callback);
  AEffect* b = entryTwo(&HostRecorder::Callback);
  // Each library's record points at its own code, even loaded globally after the other.
  EXPECT_NE(a->dispatcher, b->dispatcher);
  Dl_info infoA{};
  Dl_info infoB{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(a->dispatcher), &infoA), 0);
  ASSERT_NE(dladdr(reinterpret_cast<void*>(b->dispatcher), &infoB), 0);
  EXPECT_STREQ(infoA.dli_fname, TESTPLUG_PATH);
  EXPECT_EQ(std::string(infoB.dli_fname), copy);
  a->dispatcher(a, effClose, 0, 0, nullptr, 0.0f);
  b->dispatcher(b, effClose, 0, 0, nullptr, 0.0f);
  dlclose(two);
  dlclose(one);
  std::remove(copy.c_str());
}
