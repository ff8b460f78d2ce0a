// Centre frequency in Hz of each of Semtar's 108 notes, C1 to B9 in semitone steps. The values are
// fixed (they follow neither the sample rate nor any parameter) and are used exactly as written.
#pragma once

constexpr int kNoteCount = 108;

// clang-format off
constexpr double NoteFrequencyTable[kNoteCount] = {
  //  C      C#      D      D#      E       F       F#      G       G#      A       A#      B
  32.7,   34.6,   36.7,   38.9,   41.2,   43.7,   46.2,   49,     51.9,   55,     58.3,   61.7,
  65.4,   69.3,   73.4,   77.8,   82.4,   87.3,   92.5,   98,     104,    110,    116.6,  123.5,
  131,    139,    147,    155.6,  165,    175,    185,    196,    208,    220,    233,    247,
  262,    277,    294,    311,    330,    349,    370,    392,    415,    440,    466,    494,
  523,    554,    587,    622,    659,    698,    740,    784,    830,    880,    932,    988,
  1047,   1109,   1175,   1245,   1319,   1397,   1480,   1568,   1661,   1760,   1865,   1976,
  2093,   2218,   2349,   2489,   2637,   2794,   2960,   3136,   3322,   3520,   3729,   3951,
  4186,   4435,   4699,   4978,   5274,   5588,   5920,   6272,   6645,   7040,   7459,   7902,
  8372,   8869,   9397,   9956,   10548,  11175,  11839,  12544,  13289,  14080,  14917,  15804,
};
// clang-format on
