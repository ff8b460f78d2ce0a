// The one instance maker of the Thorvin library.
#include "effects/thorvin/Thorvin.h"

#include <new>

IEffectVST* CreateEffectInstance(audioMasterCallback host)
{
  return new (std::nothrow) Thorvin(host);
}
