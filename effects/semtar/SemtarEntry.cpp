// The one instance maker of the Semtar library.
#include "effects/semtar/Semtaro.h"

#include <new>

IEffectVST* CreateEffectInstance(audioMasterCallback host)
{
  return new (std::nothrow) Semtaro(host);
}
