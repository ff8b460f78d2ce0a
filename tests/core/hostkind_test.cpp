// Host identification by the words in the host's product name.
#include <gtest/gtest.h>

#include <string>

#include "core/HostKind.h"

TEST(HostKind, WordTable)
{
  const struct {
    const char* name;
    HostKind kind;
  } cases[] = {
      {"REAPER", HostKind::Reaper},
      {"reaper64", HostKind::Reaper},
      {"CUBASE 12", HostKind::Cubase},
      {"Cubase and Reaper", HostKind::Cubase},  // tested first
      {"Reaper with Cubase inside", HostKind::Cubase},
      {"Nuendo", HostKind::Nuendo},
      {"Cakewalk Sonar", HostKind::Cakewalk},
      {"Fruity Wrapper", HostKind::Fruity},
      {"Samplitude Pro", HostKind::Samplitude},
      {"Live 11", HostKind::Live},
      {"Deliverance", HostKind::Live},  // the four letters inside a longer word
      {"Melodyne", HostKind::Melodyne},
      {"VstManLib", HostKind::VstManLib},
      {"AU Lab", HostKind::Unrecognised},
      {"AULab", HostKind::AuLab},
      {"Forte", HostKind::Forte},
      {"Chainer", HostKind::Chainer},
      {"Adobe Audition", HostKind::Audition},
      {"Orion", HostKind::Orion},
      {"SAWStudio", HostKind::SawStudio},
      {"Logic Pro", HostKind::Logic},
      {"Digital Performer", HostKind::Digital},
      {"Some Host", HostKind::Unrecognised},
      {"", HostKind::Unrecognised},
      {nullptr, HostKind::Unrecognised},
      {"\xC4live", HostKind::Live},  // bytes beyond ASCII are copied unchanged
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LookUpHostKind(c.name), c.kind) << (c.name != nullptr ? c.name : "(null)");
  }
}

TEST(HostKind, OverlongNameIsReadUpTo255Characters)
{
  std::string name(300, 'x');
  name.replace(250, 4, "LIVE");
  EXPECT_EQ(LookUpHostKind(name.c_str()), HostKind::Live);
  name = std::string(300, 'x');
  name.replace(260, 4, "LIVE");
  EXPECT_EQ(LookUpHostKind(name.c_str()), HostKind::Unrecognised);
}
