// The game's 800x600 picture onto a window of any size, for a window whose
// pixels the program writes itself (no GPU to scale it): converted to the
// window's pixel format and scaled by the nearest pixel, with its 4:3 shape
// kept and black bars where the window's shape differs.
#pragma once

#include <allegro.h>

#include <cstdint>

// The pixel formats of window framebuffers that the fast path writes.
enum class PixelLayout {
    kRgb565,    // 16 bits, red in the top five
    kXrgb8888,  // 32 bits, blue in the low byte (X11 and Wayland at depth 24)
    kXbgr8888,  // 32 bits, red in the low byte
};

// Where the picture stands in a window of `windowW` x `windowH` pixels: as
// large as fits with its 4:3 shape kept, centred.
struct PictureRect {
    int x, y, w, h;
};
PictureRect FitPicture(int windowW, int windowH, int pictureW, int pictureH);

// The picture's pixel under window pixel (wx, wy), clamped to the picture
// when it lies on a bar: what the pointer points at.
void WindowToPicture(const PictureRect& r, int pictureW, int pictureH, int wx, int wy, int& px,
                     int& py);

// The framebuffer of a window.
struct PixelTarget {
    void* pixels;
    int pitch;  // bytes from one row to the next
    int w, h;
    PixelLayout layout;
};

// Writes the 16-bit 5-6-5 `picture` into `target`: scaled by the nearest
// pixel into `r`, the rest of the target black. `barsToo` false leaves the
// bars as they are (they were painted black before and nothing else draws
// there).
void ScalePicture(BITMAP* picture, const PixelTarget& target, const PictureRect& r, bool barsToo);
