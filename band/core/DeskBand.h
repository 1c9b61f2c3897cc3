// The desk band object: its COM faces (implemented in band/com), its window and its state.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <memory>

#include "band/display/MemoryDC.h"
#include "band/settings/BandSettings.h"

// {85E0B170-04FA-11D1-B7DA-00A0C90348D6}
extern const CLSID BandClsid;

extern const char kBandWindowClass[];  // "ZAXDeskBandClass"

// Hover states besides a button index.
constexpr int32_t kHoverNothing = -1;
constexpr int32_t kHoverTimeBox = -2;

constexpr int kButtonCell = 18;  // width of one button of the strip
constexpr int kImageSize = 16;

// Background bitmap slots, in the order of their settings.
enum SkinSlot { kSkinBand = 0, kSkinTrack = 1, kSkinTime = 2, kSkinSlots = 3 };

struct SkinSize {
    int32_t width;
    int32_t height;
};

class DeskBand final : public IDeskBand,
                       public IInputObject,
                       public IObjectWithSite,
                       public IPersistStream,
                       public IContextMenu {
public:
    DeskBand();
    ~DeskBand();
    DeskBand(const DeskBand&) = delete;
    DeskBand& operator=(const DeskBand&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    // IDockingWindow
    STDMETHODIMP ShowDW(BOOL show) override;
    STDMETHODIMP CloseDW(DWORD reserved) override;
    STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* site, BOOL reserved) override;
    // IDeskBand
    STDMETHODIMP GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) override;
    // IInputObject
    STDMETHODIMP UIActivateIO(BOOL activate, MSG* message) override;
    STDMETHODIMP HasFocusIO() override;
    STDMETHODIMP TranslateAcceleratorIO(MSG* message) override;
    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** out) override;
    // IPersist / IPersistStream
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand,
                                  UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT* reserved, LPSTR buffer,
                                  UINT bufferSize) override;

    // Settings: refills the shared record and this band's time mode.
    void LoadSettings(BandSettings& settings) { ::LoadSettings(settings, timeMode); }

    // Window (band/core/BandWindow.cpp).
    bool CreateBandWindow();
    static LRESULT CALLBACK BandWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnFocusChange(BOOL focused);
    void ReleaseSkinResources();

    // Player link (band/core/PlayerLink.cpp).
    LRESULT OnCopyData(const COPYDATASTRUCT* record, HWND sender);
    bool HasPlayerWindow() const;
    void PostCommand(int32_t code, UINT mouseMessage);
    void PostSeek(uint32_t position);
    void RefreshTitle();

    // Pointer (band/core/Pointer.cpp).
    LRESULT OnMouseMove(int32_t x, int32_t y);
    LRESULT OnMouseButton(UINT message);
    int32_t HitTest(int32_t x, int32_t y);
    void AddTool(const char* text);

    // Display (band/display).
    void loadSkin(HDC reference);
    LRESULT paintBand();
    void drawTimeBox(HDC dc, RECT& workRect, HBRUSH boxBrush, HBRUSH barBrush);
    void drawTrackBox(HDC dc, RECT& workRect, HBRUSH boxBrush, HBRUSH barBrush);

    HWND tooltipWindow() const { return tooltip ? *tooltip : nullptr; }

    // State, in declaration order after the five interface tables.
    LONG refCount = 1;
    BOOL hasFocus = FALSE;
    HWND hwndParent = nullptr;
    HWND hwnd = nullptr;
    HWND hwndPlayer = nullptr;
    HIMAGELIST imageList = nullptr;
    HBITMAP skinBitmaps[kSkinSlots] = {};
    DWORD viewMode = 0;
    DWORD bandId = 0;
    IInputObjectSite* inputSite = nullptr;
    HFONT font = nullptr;
    int32_t timeLeft = 0;
    int32_t trackLeft = 0;
    int32_t trackRight = 0;
    int32_t timeMode = 2;
    int32_t scrollOffset = 0;
    int32_t hoverIndex = kHoverNothing;
    int32_t bandWidth = 100;
    int32_t bandHeight = 23;
    bool pressed = false;
    SkinSize skinSizes[kSkinSlots] = {};
    std::unique_ptr<MemoryDC> skinDCs[kSkinSlots];
    HGDIOBJ skinOldBitmaps[kSkinSlots] = {};
    std::unique_ptr<HWND> tooltip;  // cell holding the tooltip control's handle
    int32_t buttonsLeft = 0;
    int32_t buttonsRight = 0;
};
