// Loading members of the built datafiles in tests, exactly as the game does.
#pragma once

#include <allegro.h>

#include <memory>
#include <string>

// Allegro without drivers, 16-bit 5-6-5 pictures: once per process.
void StartAllegro16();

struct BitmapDeleter {
    void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using Bitmap = std::unique_ptr<BITMAP, BitmapDeleter>;

// load_bitmap("data/gfx.dat#NAME"); empty when the member is missing.
inline Bitmap Load(const std::string& name) {
    StartAllegro16();
    return Bitmap(load_bitmap(("data/gfx.dat#" + name).c_str(), nullptr));
}

constexpr int kMaskColour = 0xF81F;

inline bool Masked(BITMAP* b, int x, int y) {
    return getpixel(b, x, y) == kMaskColour;
}

// True when some pixel of the rectangle (clipped to the picture) is not the
// mask colour.
inline bool HasInk(BITMAP* b, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (x >= 0 && y >= 0 && x < b->w && y < b->h && !Masked(b, x, y))
                return true;
    return false;
}
