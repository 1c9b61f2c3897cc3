// In a test program the band's code is linked into the executable, which carries the band's
// resources too: the module instance is the executable's.
#include "band/core/PlayerStatus.h"

namespace {
const bool moduleInstanceSet = (moduleInstance = GetModuleHandleA(nullptr)) != nullptr;
}
