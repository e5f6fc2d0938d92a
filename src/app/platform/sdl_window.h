// The game's window on SDL: its size, the full screen at the desktop's own
// resolution, and the two ways a frame reaches it (a GPU texture, or the
// window's own pixels written by the game's scaling).
#pragma once

#include <SDL.h>
#include <allegro.h>

#include <string>

#include "app/draw/scale.h"
#include "app/settings.h"

// The largest whole multiple of 800x600 that fits an area (at least 1).
int WindowMultiple(int areaW, int areaH);

struct PixelSize {
    int w, h;
};
// The window a visit opens, in real pixels, on a desktop whose usable area
// is areaW x areaH: the size it was last left at when that still fits, else
// the chosen multiple, else the largest multiple that fits.
PixelSize StartWindowSize(const Settings& s, int areaW, int areaH);

// Whether an OpenGL renderer string names a rasteriser that runs on the
// processor (Mesa's llvmpipe and softpipe, and their kin).
bool SoftwareGl(const char* glRenderer);

// How frames go to the screen, for the player's choice: `gpuMade` says
// whether an accelerated renderer could be made, `glRenderer` what draws
// for it ("" when that is not OpenGL, or unknown).
bool UseGpu(Renderer choice, bool gpuMade, const char* glRenderer);

// The picture's pixel (px, py) under a point (wx, wy) of a window of
// windowW x windowH units that has pixelsW x pixelsH real pixels, clamped to
// the picture on the bars; true when the point lies on the picture.
bool PointerToPicture(int wx, int wy, int windowW, int windowH, int pixelsW, int pixelsH, int& px,
                      int& py);

class GameWindow {
  public:
    // Opens the window (hidden until the first frame) and the way frames
    // go; false with a reason when neither way works here.
    bool Open(const Settings& s, const char* title, std::string& error);
    void Close();
    SDL_Window* window() const { return window_; }
    bool usesGpu() const { return renderer_ != nullptr; }
    bool fullscreen() const;

    // Shows `picture` (800x600, 16-bit 5-6-5), and keeps showing it when
    // the window is uncovered or resized.
    void Show(BITMAP* picture);
    // The last picture again (the window was uncovered, resized, or lost
    // what it showed).
    void ShowAgain();
    // The window changed its size.
    void Resized();
    // Between the window and the desktop's full screen; false when the
    // desktop refused.
    bool ToggleFullscreen();
    // The window's size in real pixels.
    PixelSize PixelsNow() const;
    // The connection to the display server that brings the window's events,
    // where a wait can watch it directly (X11); -1 elsewhere.
    int EventSource() const { return eventSource_; }

    // The picture's pixel under a point of the window (in SDL's window
    // coordinates), and whether that point lies on the picture.
    bool ToPicture(int wx, int wy, int& px, int& py) const;

  private:
    bool OpenGpu(bool smooth);
    bool SurfaceUsable();
    void ShowOnGpu();
    void ShowOnSurface(bool whole);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    BITMAP* picture_ = nullptr;       // what the window shows
    SDL_Surface* surface_ = nullptr;  // the window's pixels when last written
    bool shown_ = false;              // the window is on the desktop
    int eventSource_ = -1;
};
