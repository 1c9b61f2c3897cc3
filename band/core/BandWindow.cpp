// STUB: replaced by the band window work.
#include "band/core/DeskBand.h"
bool DeskBand::CreateBandWindow() { return false; }
LRESULT CALLBACK DeskBand::BandWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
void DeskBand::OnFocusChange(BOOL) {}
void DeskBand::ReleaseSkinResources() {}
