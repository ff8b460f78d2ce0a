// The host, classified by the words in its product name.
//
// Contract: LookUpHostKind lower-cases the name (A to Z only) and answers the kind of the first
// word of a fixed list found anywhere in it, or Unrecognised (also for an empty or null name).
// Unidentified means the host has not been asked yet. Values 2, 6, 10, 11 and 19 are never
// produced; the numbers are stable.
#pragma once

#include <cstdint>

enum class HostKind : std::int32_t {
  Unidentified = -1,
  Unrecognised = 0,
  Reaper = 1,
  Cubase = 3,
  Nuendo = 4,
  Cakewalk = 5,
  Fruity = 7,
  Samplitude = 8,
  Live = 9,
  Melodyne = 12,
  VstManLib = 13,
  AuLab = 14,
  Forte = 15,
  Chainer = 16,
  Audition = 17,
  Orion = 18,
  SawStudio = 20,
  Logic = 21,
  Digital = 22,
};

HostKind LookUpHostKind(const char* name);
