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
