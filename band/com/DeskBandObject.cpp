// The COM side of the band: construction, identity, and the desk band contract with the shell.
#include <cstring>

#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

namespace {
// A popup's owner is always a top-level window: the tooltip made for the child band window
// belongs to the taskbar and would outlive the band, one more control per close, unless
// destroyed here.
void destroyTooltipOf(std::unique_ptr<HWND>& tooltip) {
    if (tooltip && *tooltip && IsWindow(*tooltip)) DestroyWindow(*tooltip);
    tooltip.reset();
}
}  // namespace

DeskBand::DeskBand() {
    ++objectCount;
    LoadSettings(bandSettings);
}

DeskBand::~DeskBand() {
    if (inputSite) {
        inputSite->Release();
        inputSite = nullptr;
    }
    // A host that drops the band without CloseDW must not leave a window whose procedure
    // would reach this freed object: cut the window loose first, then close as CloseDW does.
    if (hwnd && IsWindow(hwnd)) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
    hwnd = nullptr;
    ReleaseSkinResources();
    destroyTooltipOf(tooltip);
    --objectCount;
}

STDMETHODIMP DeskBand::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    IUnknown* face = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) ||
        IsEqualIID(riid, IID_IDockingWindow)) {
        face = static_cast<IDeskBand*>(this);
    } else if (IsEqualIID(riid, IID_IInputObject)) {
        face = static_cast<IInputObject*>(this);
    } else if (IsEqualIID(riid, IID_IObjectWithSite)) {
        face = static_cast<IObjectWithSite*>(this);
    } else if (IsEqualIID(riid, IID_IDeskBand)) {
        face = static_cast<IDeskBand*>(this);
    } else if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStream)) {
        face = static_cast<IPersistStream*>(this);
    } else if (IsEqualIID(riid, IID_IContextMenu)) {
        face = static_cast<IContextMenu*>(this);
    }
    if (!face) return E_NOINTERFACE;
    face->AddRef();
    *out = face;
    return S_OK;
}

STDMETHODIMP_(ULONG) DeskBand::AddRef() { return static_cast<ULONG>(++refCount); }

STDMETHODIMP_(ULONG) DeskBand::Release() {
    LONG count = --refCount;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

STDMETHODIMP DeskBand::GetWindow(HWND* window) {
    if (!window) return E_INVALIDARG;
    *window = hwnd;
    return S_OK;
}

STDMETHODIMP DeskBand::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP DeskBand::ShowDW(BOOL show) {
    if (hwnd) ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return S_OK;
}

STDMETHODIMP DeskBand::CloseDW(DWORD) {
    static_cast<IDeskBand*>(this)->ShowDW(FALSE);
    ReleaseSkinResources();
    destroyTooltipOf(tooltip);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    hwnd = nullptr;
    return S_OK;
}

STDMETHODIMP DeskBand::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP DeskBand::GetBandInfo(DWORD id, DWORD mode, DESKBANDINFO* info) {
    if (!info) return E_INVALIDARG;
    bandId = id;
    viewMode = mode;
    if (info->dwMask & DBIM_MINSIZE) {
        if (mode & DBIF_VIEWMODE_FLOATING) {
            info->ptMinSize = {200, 400};
        } else {
            info->ptMinSize = {100, 18};
        }
    }
    if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize = {500, 32};
    if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = {1, 1};
    if (info->dwMask & DBIM_ACTUAL) info->ptActual = {bandWidth, bandHeight};
    if (info->dwMask & DBIM_TITLE) info->wszTitle[0] = L'\0';
    if (info->dwMask & DBIM_MODEFLAGS) info->dwModeFlags = DBIMF_VARIABLEHEIGHT;
    info->dwMask &= ~static_cast<DWORD>(DBIM_BKCOLOR);  // the taskbar's own background
    return S_OK;
}

STDMETHODIMP DeskBand::UIActivateIO(BOOL activate, MSG*) {
    if (activate && hwnd) SetFocus(hwnd);
    return S_OK;
}

STDMETHODIMP DeskBand::HasFocusIO() { return hasFocus ? S_OK : S_FALSE; }

STDMETHODIMP DeskBand::TranslateAcceleratorIO(MSG*) { return S_FALSE; }

STDMETHODIMP DeskBand::SetSite(IUnknown* site) {
    if (inputSite) {
        inputSite->Release();
        inputSite = nullptr;
    }
    if (!site) return S_OK;

    hwndParent = nullptr;
    IOleWindow* oleWindow = nullptr;
    if (SUCCEEDED(site->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&oleWindow)))) {
        oleWindow->GetWindow(&hwndParent);
        oleWindow->Release();
    }
    if (!hwndParent) return E_FAIL;
    if (!CreateBandWindow()) return E_FAIL;

    HRESULT result =
        site->QueryInterface(IID_IInputObjectSite, reinterpret_cast<void**>(&inputSite));
    if (FAILED(result)) inputSite = nullptr;
    return SUCCEEDED(result) ? S_OK : E_FAIL;
}

STDMETHODIMP DeskBand::GetSite(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!inputSite) return E_FAIL;
    return inputSite->QueryInterface(riid, out);
}

STDMETHODIMP DeskBand::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = BandClsid;
    return S_OK;
}

STDMETHODIMP DeskBand::IsDirty() { return S_FALSE; }

STDMETHODIMP DeskBand::Load(IStream*) { return S_OK; }

STDMETHODIMP DeskBand::Save(IStream*, BOOL) { return S_OK; }

STDMETHODIMP DeskBand::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }

STDMETHODIMP DeskBand::QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);  // no items added
}

STDMETHODIMP DeskBand::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    if (!info) return E_INVALIDARG;
    return LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) == 0 ? S_OK : E_INVALIDARG;
}

namespace {
// Copies as much of `text` as the caller's buffer holds, always terminated when it holds
// anything: the shell's buffer size is the only bound there is.
void copyBounded(LPSTR buffer, UINT size, const char* text) {
    if (!buffer || size == 0) return;
    size_t length = strlen(text);
    if (length >= size) length = size - 1;
    memcpy(buffer, text, length);
    buffer[length] = '\0';
}
}  // namespace

STDMETHODIMP DeskBand::GetCommandString(UINT_PTR command, UINT type, UINT*, LPSTR buffer,
                                        UINT bufferSize) {
    switch (type) {
        case GCS_VERBA:
            if (command != 0) return E_INVALIDARG;
            copyBounded(buffer, bufferSize, "command");
            return S_OK;
        case GCS_HELPTEXTA:
            if (command != 0) return E_INVALIDARG;
            copyBounded(buffer, bufferSize, "Desk Band command help text");
            return S_OK;
        case GCS_VALIDATEA:
            return S_OK;
        default:
            return E_INVALIDARG;
    }
}
