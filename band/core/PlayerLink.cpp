// STUB: replaced by the player link work.
#include "band/core/DeskBand.h"
#include "band/core/PlayerLink.h"
LRESULT DeskBand::OnCopyData(const COPYDATASTRUCT*, HWND) { return 0; }
