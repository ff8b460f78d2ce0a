// The one instance maker of the Baskel library.
#include "effects/baskel/Baskel.h"

#include <new>

IEffectVST* CreateEffectInstance(audioMasterCallback host)
{
  return new (std::nothrow) Baskel(host);
}
