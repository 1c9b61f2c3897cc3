// The band's WM_PAINT: everything is drawn into a back buffer and reaches the window in one
// BitBlt, so the frequent repaints after player updates do not flicker.
#include "band/core/DeskBand.h"
#include "band/core/PlayerStatus.h"

namespace {

constexpr COLORREF kFrameGrey = RGB(128, 128, 128);
constexpr COLORREF kFrameWhite = RGB(255, 255, 255);
constexpr int kStripMargin = 3;  // between the strip and the band's edge or the boxes
constexpr char kNoImagesText[] = "Can Not Find Images";

// Owns a brush or pen made for one paint.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }
    HBRUSH brush() const { return static_cast<HBRUSH>(object_); }

private:
    HGDIOBJ object_;
};

// The frame around the hovered button: raised, or sunken while the button is pressed. It runs
// from x0 to x0 + 18, one column into the next cell.
void drawHoverFrame(HDC dc, int x0, int height, bool pressed) {
    GdiObject grey(CreatePen(PS_SOLID, 1, kFrameGrey));
    GdiObject white(CreatePen(PS_SOLID, 1, kFrameWhite));
    SelectionGuard pen(dc, pressed ? grey.get() : white.get());
    MoveToEx(dc, x0, height - 3, nullptr);
    LineTo(dc, x0, 2);
    LineTo(dc, x0 + kButtonCell, 2);
    SelectObject(dc, pressed ? white.get() : grey.get());
    LineTo(dc, x0 + kButtonCell, height - 2);
    LineTo(dc, x0, height - 2);
}  // the old pen goes back before white, then grey, is deleted

}  // namespace

LRESULT DeskBand::paintBand() {
    GdiObject boxBrush(CreateSolidBrush(bandSettings.BackgroundColour));
    GdiObject barBrush(CreateSolidBrush(bandSettings.TimeColour));
    PAINTSTRUCT paint{};
    HDC windowDC = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    RECT workRect{0, 0, width, height};

    MemoryDC backBuffer(windowDC, width, height);
    backBuffer.clear(width, height, RGB(0, 0, 0));
    HDC dc = backBuffer.dc;
    loadSkin(dc);
    SelectionGuard fontSelection(dc, font);  // no font: the DC's default stays
    GdiObject faceBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &workRect, faceBrush.brush());

    if (skinBitmaps[kSkinBand]) {
        const SkinSize& size = skinSizes[kSkinBand];
        Trace("Skin size %d x %d\n", size.width, size.height);
        if (size.width && size.height && skinDCs[kSkinBand]) {
            StretchBlt(dc, 0, 0, width, height, skinDCs[kSkinBand]->dc, 0, 0, size.width,
                       size.height, SRCCOPY);
        }
    }
    SetBkMode(dc, TRANSPARENT);

    if (!imageList) {
        DrawTextA(dc, kNoImagesText, -1, &workRect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        // Nothing is drawn where the strip and boxes were, so nothing may be hit there.
        buttonsLeft = buttonsRight = 0;
        timeLeft = trackLeft = trackRight = width;
    } else {
        buttonsLeft = buttonsRight = 0;
        int stripWidth = 0;
        if (bandSettings.bDeskBandIcons) {
            const int count = static_cast<int>(bandSettings.buttons.size());
            if (bandSettings.Orientation != 0) {
                buttonsLeft = workRect.left;
                buttonsRight = buttonsLeft + kButtonCell * count;
            } else {
                buttonsLeft = workRect.right - kButtonCell * count - kStripMargin;
                buttonsRight = workRect.right - kStripMargin;
                Trace("Start Button : %d\n", buttonsLeft);
            }
            for (int i = 0; i < count; ++i) {
                const int shift = pressed && i == hoverIndex ? 1 : 0;
                ImageList_Draw(imageList, bandSettings.buttons[i].image, dc,
                               buttonsLeft + kButtonCell * i + shift + 1,
                               height / 2 + shift - kImageSize / 2, ILD_TRANSPARENT);
                stripWidth += kButtonCell;
                if (i == hoverIndex) {
                    drawHoverFrame(dc, buttonsLeft + kButtonCell * i, height, pressed);
                }
            }
        }
        if (bandSettings.Orientation != 0) {
            workRect.left = stripWidth + kStripMargin;
        } else {
            workRect.right -= stripWidth + kStripMargin;
        }

        if (bandSettings.DisplayTime) drawTimeBox(dc, workRect, boxBrush.brush(), barBrush.brush());
        if (bandSettings.DisplayTrack) {
            drawTrackBox(dc, workRect, boxBrush.brush(), barBrush.brush());
        }
        if (!bandSettings.DisplayTime && !bandSettings.DisplayTrack) {
            // No box is drawn: regions that start at the band's right edge hold no x of it.
            timeLeft = trackLeft = trackRight = width;
        }
        bandWidth = workRect.right - workRect.left;
        bandHeight = workRect.bottom - workRect.top;
    }

    BitBlt(windowDC, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    EndPaint(hwnd, &paint);
    return 0;
}  // then the face brush, the font selection, the back buffer, the bar and box brushes go
