#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

// The two message ids are registered while the module loads, before any band exists.
const UINT taskIconNotifyMsg = RegisterWindowMessageA("MsgTaskIconNotify");
const UINT deskBandNotifyMsg = RegisterWindowMessageA("DeskBandNotify");

const char kIdleTitle[] = "ZAX     ";
const char kBandWindowClass[] = "ZAXDeskBandClass";

const CLSID BandClsid = {0x85E0B170, 0x04FA, 0x11D1, {0xB7, 0xDA, 0x00, 0xA0, 0xC9, 0x03, 0x48, 0xD6}};

PlayerStatus playerStatus = {"ZAX     ", "", "", {0, 0, 0, 0}, ""};
char displayText[MAX_PATH];

HINSTANCE moduleInstance = nullptr;
LONG objectCount = 0;

void Trace(const char*, ...) {}
