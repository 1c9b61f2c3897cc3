// Draws the built-in button strip (bitmap resource 101) and writes it as an 8-bit BMP file:
//   StripGenerator <output.bmp>
// The committed strip.bmp is this program's output; a display test regenerates it and compares
// the two byte for byte, so edit the drawings here and rerun the program instead of editing the
// bitmap.
//
// Every image is a set of shapes in continuous coordinates (pixel x covers [x, x + 1)). A pixel
// is sampled 4 x 4 times: mostly covered it is black, partly covered grey, else the teal mask
// colour. Edges on whole pixels come out crisp; slanted edges get the grey rim.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kImageSize = 16;
constexpr int kImageCount = 21;
constexpr int kWidth = kImageSize * kImageCount;

// Palette indexes; the rest of the 256 entries stay black.
constexpr BYTE kBlack = 0;
constexpr BYTE kGrey = 1;
constexpr BYTE kTeal = 2;  // the mask colour, RGB(0, 128, 128)

constexpr int kSamples = 4;
constexpr int kBlackCoverage = 10;  // of 16 samples
constexpr int kGreyCoverage = 4;

using Shape = std::function<bool(double x, double y)>;

struct Point {
    double x;
    double y;
};

// Convex polygon with its corners in either winding order.
Shape polygon(std::vector<Point> corners) {
    return [corners](double x, double y) {
        int sign = 0;
        for (size_t i = 0; i < corners.size(); ++i) {
            const Point& a = corners[i];
            const Point& b = corners[(i + 1) % corners.size()];
            double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
            int side = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
            if (side == 0) continue;
            if (sign == 0) sign = side;
            if (side != sign) return false;
        }
        return true;
    };
}

Shape triangle(Point a, Point b, Point c) { return polygon({a, b, c}); }

Shape box(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

// A one-pixel square outline around [left, right) x [top, bottom).
Shape frame(double left, double top, double right, double bottom) {
    return [=](double x, double y) {
        return box(left, top, right, bottom)(x, y) &&
               !box(left + 1, top + 1, right - 1, bottom - 1)(x, y);
    };
}

// A straight stroke of the given width between two points.
Shape stroke(Point a, Point b, double width) {
    return [=](double x, double y) {
        double dx = b.x - a.x, dy = b.y - a.y;
        double t = ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy);
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        double px = a.x + t * dx - x, py = a.y + t * dy - y;
        return std::sqrt(px * px + py * py) <= width / 2;
    };
}

// Sound waves right of the loudspeaker, as pixel arcs: a small one and a large one.
std::vector<Shape> smallWave() {
    return {box(10, 5, 11, 6), box(11, 6, 12, 10), box(10, 10, 11, 11)};
}

std::vector<Shape> largeWave() {
    return {box(12, 2, 13, 4), box(13, 4, 14, 12), box(12, 12, 13, 14)};
}

std::vector<Shape> speaker() {
    return {box(1, 6, 4, 10), polygon({{4, 6}, {8, 2}, {8, 14}, {4, 10}})};
}

std::vector<Shape> with(std::vector<Shape> shapes, const std::vector<Shape>& more) {
    shapes.insert(shapes.end(), more.begin(), more.end());
    return shapes;
}

// The drawings, by image index.
std::vector<std::vector<Shape>> drawings() {
    return {
        // 0 previous track: two left-pointing triangles
        {triangle({2, 8}, {8, 3}, {8, 13}), triangle({8, 8}, {14, 3}, {14, 13})},
        // 1 play: one right-pointing triangle
        {triangle({4, 2}, {4, 14}, {13, 8})},
        // 2 next track: two right-pointing triangles
        {triangle({2, 3}, {2, 13}, {8, 8}), triangle({8, 3}, {8, 13}, {14, 8})},
        // 3 stop: filled square
        {box(3, 3, 13, 13)},
        // 4 eject: triangle above a bar
        {triangle({8, 2.5}, {2.5, 9}, {13.5, 9}), box(3, 11, 13, 13)},
        // 5 track list: square frame with three horizontal lines
        {frame(2, 2, 15, 15), box(5, 5, 12, 6), box(5, 8, 12, 9), box(5, 11, 12, 12)},
        // 6 minimise: down-pointing triangle
        {triangle({2.5, 5}, {13.5, 5}, {8, 11.5})},
        // 7 exit: square frame with a diagonal cross
        {frame(2, 2, 15, 15), stroke({5, 5}, {12, 12}, 1.8), stroke({12, 5}, {5, 12}, 1.8)},
        // 8 loudspeaker with one small wave
        with(speaker(), smallWave()),
        // 9 loudspeaker
        speaker(),
        // 10 bar and left-pointing triangle
        {box(2, 3, 4, 13), triangle({5, 8}, {13, 3}, {13, 13})},
        // 11 right-pointing triangle and bar
        {triangle({3, 3}, {3, 13}, {11, 8}), box(12, 3, 14, 13)},
        // 12 up-pointing triangle above a down-pointing triangle
        {triangle({8, 1.5}, {2.5, 7}, {13.5, 7}), triangle({2.5, 9}, {13.5, 9}, {8, 14.5})},
        // 13 four squares, 2 x 2
        {box(3, 3, 7, 7), box(9, 3, 13, 7), box(3, 9, 7, 13), box(9, 9, 13, 13)},
        // 14 square frame inside a square frame
        {frame(2, 2, 15, 15), frame(5, 5, 12, 12)},
        // 15 three small squares in a row
        {box(1, 6, 5, 10), box(6, 6, 10, 10), box(11, 6, 15, 10)},
        // 16 empty square frame
        {frame(2, 2, 15, 15)},
        // 17 pause: two vertical bars
        {box(4, 3, 7, 13), box(9, 3, 12, 13)},
        // 18 square frame with three vertical bars
        {frame(2, 2, 15, 15), box(5, 5, 6, 12), box(8, 5, 9, 12), box(11, 5, 12, 12)},
        // 19 up-pointing triangle
        {triangle({2.5, 11}, {13.5, 11}, {8, 4.5})},
        // 20 loudspeaker with large waves
        with(with(speaker(), smallWave()), largeWave()),
    };
}

BYTE shade(const std::vector<Shape>& shapes, int px, int py) {
    int covered = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
            double x = px + (sx + 0.5) / kSamples, y = py + (sy + 0.5) / kSamples;
            for (const Shape& shape : shapes) {
                if (shape(x, y)) {
                    ++covered;
                    break;
                }
            }
        }
    }
    if (covered >= kBlackCoverage) return kBlack;
    if (covered >= kGreyCoverage) return kGrey;
    return kTeal;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: StripGenerator <output.bmp>\n");
        return 2;
    }
    const auto images = drawings();
    if (images.size() != kImageCount) return 3;

    // Rows of an 8-bit BMP are padded to 4 bytes; 336 already is a multiple.
    static_assert(kWidth % 4 == 0, "strip rows need no padding");
    std::vector<BYTE> pixels(static_cast<size_t>(kWidth) * kImageSize);
    for (int index = 0; index < kImageCount; ++index) {
        for (int y = 0; y < kImageSize; ++y) {
            for (int x = 0; x < kImageSize; ++x) {
                // Bottom-up rows.
                size_t offset = static_cast<size_t>(kImageSize - 1 - y) * kWidth +
                                static_cast<size_t>(index * kImageSize + x);
                pixels[offset] = shade(images[index], x, y);
            }
        }
    }

    RGBQUAD palette[256] = {};
    palette[kGrey] = {128, 128, 128, 0};
    palette[kTeal] = {128, 128, 0, 0};  // blue, green, red

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = kWidth;
    info.biHeight = kImageSize;
    info.biPlanes = 1;
    info.biBitCount = 8;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixels.size());
    info.biXPelsPerMeter = 2835;  // 72 dpi
    info.biYPelsPerMeter = 2835;
    info.biClrUsed = 256;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info) + sizeof(palette);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 1;
    bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                   std::fwrite(&info, sizeof(info), 1, out) == 1 &&
                   std::fwrite(palette, sizeof(palette), 1, out) == 1 &&
                   std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written ? 0 : 1;
}
