// STUB: replaced by the display work.
#include "band/core/DeskBand.h"
LRESULT DeskBand::paintBand() { PAINTSTRUCT ps; BeginPaint(hwnd, &ps); EndPaint(hwnd, &ps); return 0; }
