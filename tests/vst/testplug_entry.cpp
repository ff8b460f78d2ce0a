// The test plug-in library's effect: TestEffect with its default configuration.
#include <new>

#include "tests/vst/TestEffect.h"

IEffectVST* CreateEffectInstance(audioMasterCallback host)
{
  return new (std::nothrow) TestEffect(host, TestEffectConfig{});
}
