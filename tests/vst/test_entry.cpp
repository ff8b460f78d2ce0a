// The in-process tests' effect: TestEffect in the configuration the test asked for.
#include <new>

#include "tests/vst/TestHost.h"

TestEffectConfig gTestEffectConfig;

IEffectVST* CreateEffectInstance(audioMasterCallback host)
{
  return new (std::nothrow) TestEffect(host, gTestEffectConfig);
}
