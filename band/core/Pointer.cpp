// STUB: replaced by the pointer work.
#include "band/core/DeskBand.h"
LRESULT DeskBand::OnMouseMove(int32_t, int32_t) { return 0; }
LRESULT DeskBand::OnMouseButton(UINT) { return 0; }
