#include "tests/display/DisplayFixture.h"

#include <cstdio>
#include <cstring>

#include "band/core/PlayerStatus.h"

namespace display_tests {

using namespace testing_support;

const char kPluginKey[] = "Software\\Vantorel\\Strappa Plugin";
const char kButtonsKey[] = "Software\\Vantorel\\Strappa Plugin\\Buttons";

namespace {

constexpr int kCursorParkY = 1000;  // below every test window
constexpr uint32_t kMaskRgb = 0x008080;

void deleteFolder(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                deleteFolder(full);
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    char name[64];
    std::snprintf(name, sizeof(name), "strappa-display-%lu-%lu", GetCurrentProcessId(),
                  GetTickCount());
    path_ = std::string(temp) + name;
    CreateDirectoryA(path_.c_str(), nullptr);
    CreateDirectoryA((path_ + "\\StrappaSkins").c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { deleteFolder(path_); }

void writeBitmapFile(const std::string& path, int width, int height,
                     const std::function<uint32_t(int x, int y)>& colour) {
    Capture image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.pixels[static_cast<size_t>(y) * width + x] = colour(x, y);
    }
    ASSERT_TRUE(saveBitmap(image, path)) << path;
}

void writeSkinStrip(const std::string& path, int width) {
    writeBitmapFile(path, width, 16, [](int x, int y) {
        const int column = x % 16;
        return column >= 3 && column < 13 && y >= 3 && y < 13 ? kBlack : kMaskRgb;
    });
}

DisplayFixture::DisplayFixture() {
    createKey(kPluginKey);
    SetCursorPos(0, kCursorParkY);
    std::strcpy(playerStatus.title, kIdleTitle);
    std::memset(playerStatus.times, 0, sizeof(playerStatus.times));
    std::snprintf(playerStatus.skinBaseDir, sizeof(playerStatus.skinBaseDir), "%s",
                  skins.path().c_str());
}

DisplayFixture::~DisplayFixture() {
    if (band) {
        band->CloseDW(0);
        band->Release();
    }
    parent.reset();
}

void DisplayFixture::open(int width, int height) {
    parent = std::make_unique<TestWindow>(width, height, "Band parent");
    band = new DeskBand;
    band->hwndParent = parent->handle();
    ASSERT_TRUE(band->CreateBandWindow());
    band->ShowDW(TRUE);
    UpdateWindow(band->hwnd);
    pumpMessages(20);
}

void DisplayFixture::reload() {
    band->ReleaseSkinResources();
    band->LoadSettings(bandSettings);
}

Capture DisplayFixture::paint() {
    InvalidateRect(band->hwnd, nullptr, FALSE);
    return captureClient(band->hwnd);
}

RECT DisplayFixture::timeBox(const Capture& capture) const {
    RECT box{band->timeLeft - 3, 0, band->trackLeft - 2, 0};
    int y = 0;
    while (y < capture.height && capture.at(box.left, y) != kBlack) ++y;
    box.top = y;
    while (y < capture.height && capture.at(box.left, y) == kBlack) ++y;
    box.bottom = y;
    return box;
}

}  // namespace display_tests
