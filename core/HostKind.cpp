#include "core/HostKind.h"

#include <cstring>

namespace {

struct HostWord {
  const char* word;
  HostKind kind;
};

// Tested in this order: the first word found decides.
constexpr HostWord kHostWords[] = {
    {"cubase", HostKind::Cubase},       {"reaper", HostKind::Reaper},       {"nuendo", HostKind::Nuendo},
    {"cakewalk", HostKind::Cakewalk},   {"samplitude", HostKind::Samplitude}, {"fruity", HostKind::Fruity},
    {"live", HostKind::Live},           {"melodyne", HostKind::Melodyne},   {"vstmanlib", HostKind::VstManLib},
    {"aulab", HostKind::AuLab},         {"forte", HostKind::Forte},         {"chainer", HostKind::Chainer},
    {"audition", HostKind::Audition},   {"orion", HostKind::Orion},         {"sawstudio", HostKind::SawStudio},
    {"logic", HostKind::Logic},         {"digital", HostKind::Digital},
};

constexpr int kNameBufferSize = 256;

}  // namespace

HostKind LookUpHostKind(const char* name)
{
  char lower[kNameBufferSize];
  int n = 0;
  if (name != nullptr) {
    for (; n < kNameBufferSize - 1 && name[n] != '\0'; ++n) {
      const char c = name[n];
      lower[n] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  lower[n] = '\0';
  for (const HostWord& w : kHostWords) {
    if (std::strstr(lower, w.word) != nullptr) {
      return w.kind;
    }
  }
  return HostKind::Unrecognised;
}
