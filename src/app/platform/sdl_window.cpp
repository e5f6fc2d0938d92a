#include "app/platform/sdl_window.h"

// Only X11's connection is asked for; on Windows SDL's header would bring
// in windows.h, whose BITMAP is not Allegro's.
#ifndef _WIN32
#include <SDL_syswm.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/platform/os.h"

namespace {

constexpr int kPictureW = 800;
constexpr int kPictureH = 600;
// A window remembered smaller than this was not left so on purpose.
constexpr int kSmallestKeptW = 320;
constexpr int kSmallestKeptH = 240;

// Renderer strings of rasterisers that run on the processor.
constexpr const char* kSoftwareGl[] = {
    "llvmpipe",             // Mesa's, on LLVM
    "softpipe",             // Mesa's reference rasteriser
    "swrast",               // Mesa's older one
    "software rasterizer",  // Mesa's name for either
    "gdi generic",          // Windows without a driver
    "basic render driver",  // Windows' WARP, under WSL and virtual machines
};

bool LayoutOf(Uint32 format, PixelLayout& out) {
    switch (format) {
        case SDL_PIXELFORMAT_RGB565:
            out = PixelLayout::kRgb565;
            return true;
        // The fourth byte is written 0: no format where it is opacity.
        case SDL_PIXELFORMAT_RGB888:
            out = PixelLayout::kXrgb8888;
            return true;
        case SDL_PIXELFORMAT_BGR888:
            out = PixelLayout::kXbgr8888;
            return true;
        default:
            return false;
    }
}

}  // namespace

int WindowMultiple(int areaW, int areaH) {
    int m = std::min(areaW / kPictureW, areaH / kPictureH);
    return std::clamp(m, 1, kMaxScale);
}

PixelSize StartWindowSize(const Settings& s, int areaW, int areaH) {
    if (s.windowW >= kSmallestKeptW && s.windowH >= kSmallestKeptH && s.windowW <= areaW &&
        s.windowH <= areaH) {
        return {s.windowW, s.windowH};
    }
    int m = s.scale > 0 ? s.scale : WindowMultiple(areaW, areaH);
    return {kPictureW * m, kPictureH * m};
}

bool SoftwareGl(const char* glRenderer) {
    std::string lower;
    for (const char* p = glRenderer ? glRenderer : ""; *p; ++p) {
        lower += char(std::tolower(static_cast<unsigned char>(*p)));
    }
    for (const char* name : kSoftwareGl) {
        if (lower.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool UseGpu(Renderer choice, bool gpuMade, const char* glRenderer) {
    switch (choice) {
        case Renderer::kSurface:
            return false;
        case Renderer::kGpu:
            return gpuMade;
        case Renderer::kAuto:
            break;
    }
    return gpuMade && !SoftwareGl(glRenderer);
}

bool GameWindow::Open(const Settings& s, const char* title, std::string& error) {
    SDL_Rect area = {0, 0, kPictureW, kPictureH};
    if (SDL_GetDisplayUsableBounds(0, &area) != 0) {
        SDL_GetDisplayBounds(0, &area);
    }
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kPictureW,
                               kPictureH,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window_) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
#if defined(SDL_VIDEO_DRIVER_X11) && !defined(_WIN32)
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (SDL_GetWindowWMInfo(window_, &wm) && wm.subsystem == SDL_SYSWM_X11) {
        eventSource_ = ConnectionNumber(wm.info.x11.display);
    }
#endif
    // On a HiDPI desktop a window unit is several real pixels; the picture's
    // multiple counts real pixels.
    int pw = kPictureW, ph = kPictureH;
    SDL_GetWindowSizeInPixels(window_, &pw, &ph);
    int ratio = std::max(1, pw / kPictureW);
    PixelSize size = StartWindowSize(s, area.w * ratio, area.h * ratio);
    SDL_SetWindowMinimumSize(window_, kSmallestKeptW / ratio, kSmallestKeptH / ratio);
    SDL_SetWindowSize(window_, size.w / ratio, size.h / ratio);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (s.fullscreen && SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        std::fprintf(stderr, "Fluffernauts: no full screen here (%s); playing in a window\n",
                     SDL_GetError());
    }

    bool tryGpu = s.renderer == Renderer::kGpu || (s.renderer == Renderer::kAuto && MayHaveGpu());
    std::string gl;
    bool gpuMade = tryGpu && OpenGpu(s.smooth);
    if (gpuMade) {
        SDL_RendererInfo info;
        if (SDL_GetRendererInfo(renderer_, &info) == 0 &&
            std::strncmp(info.name, "opengl", 6) == 0) {
            using GetString = const unsigned char* (*)(unsigned);
            auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
            const unsigned char* name = getString ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
            gl = name ? reinterpret_cast<const char*>(name) : "";
        }
    }
    if (gpuMade && !UseGpu(s.renderer, gpuMade, gl.c_str())) {
        SDL_DestroyTexture(texture_);
        SDL_DestroyRenderer(renderer_);
        texture_ = nullptr;
        renderer_ = nullptr;
    }
    if (!renderer_ && !SurfaceUsable() && !OpenGpu(s.smooth)) {
        error = std::string("cannot show 16-bit pictures in a window here: ") + SDL_GetError();
        Close();
        return false;
    }
    return true;
}

bool GameWindow::OpenGpu(bool smooth) {
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                     kPictureW, kPictureH);
    }
    if (!texture_) {
        if (renderer_) {
            SDL_DestroyRenderer(renderer_);
        }
        renderer_ = nullptr;
        return false;
    }
    SDL_SetTextureScaleMode(texture_, smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return true;
}

bool GameWindow::SurfaceUsable() {
    // SDL would otherwise send its window pixels through an OpenGL texture
    // too, which on a rasteriser in software costs several times the frame.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    PixelLayout layout;
    return s && LayoutOf(s->format->format, layout);
}

void GameWindow::Close() {
    if (texture_) {
        SDL_DestroyTexture(texture_);
    }
    if (renderer_) {
        SDL_DestroyRenderer(renderer_);
    }
    if (window_) {
        SDL_DestroyWindow(window_);
    }
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    surface_ = nullptr;
    picture_ = nullptr;
    shown_ = false;
}

bool GameWindow::fullscreen() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

PixelSize GameWindow::PixelsNow() const {
    PixelSize p = {kPictureW, kPictureH};
    if (renderer_) {
        SDL_GetRendererOutputSize(renderer_, &p.w, &p.h);
    } else if (surface_) {
        p = {surface_->w, surface_->h};
    } else if (window_) {
        SDL_GetWindowSizeInPixels(window_, &p.w, &p.h);
    }
    return p;
}

bool PointerToPicture(int wx, int wy, int windowW, int windowH, int pixelsW, int pixelsH, int& px,
                      int& py) {
    // Window units to real pixels: the picture is placed in real pixels.
    int x = windowW > 0 ? int(long(wx) * pixelsW / windowW) : wx;
    int y = windowH > 0 ? int(long(wy) * pixelsH / windowH) : wy;
    PictureRect r = FitPicture(pixelsW, pixelsH, kPictureW, kPictureH);
    WindowToPicture(r, kPictureW, kPictureH, x, y, px, py);
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

bool GameWindow::ToPicture(int wx, int wy, int& px, int& py) const {
    int ww = 1, wh = 1;
    SDL_GetWindowSize(window_, &ww, &wh);
    PixelSize p = PixelsNow();
    return PointerToPicture(wx, wy, ww, wh, p.w, p.h, px, py);
}

void GameWindow::Show(BITMAP* picture) {
    picture_ = picture;
    if (renderer_) {
        ShowOnGpu();
    } else {
        ShowOnSurface(false);
    }
    if (!shown_) {
        // Shown with its first frame, not as an empty rectangle before it.
        SDL_ShowWindow(window_);
        shown_ = true;
    }
}

void GameWindow::ShowAgain() {
    if (!picture_) {
        return;
    }
    if (renderer_) {
        ShowOnGpu();
    } else {
        ShowOnSurface(true);
    }
}

void GameWindow::Resized() {
    // The window's pixels are made anew at their new size.
    surface_ = nullptr;
    ShowAgain();
}

bool GameWindow::ToggleFullscreen() {
    Uint32 flags = fullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_SetWindowFullscreen(window_, flags) != 0) {
        std::fprintf(stderr, "Fluffernauts: no %s here (%s); staying as it was\n",
                     flags ? "full screen" : "window", SDL_GetError());
        return false;
    }
    Resized();
    return true;
}

void GameWindow::ShowOnGpu() {
    int pitch = picture_->h > 1 ? int(picture_->line[1] - picture_->line[0]) : picture_->w * 2;
    SDL_UpdateTexture(texture_, nullptr, picture_->line[0], pitch);
    PixelSize p = PixelsNow();
    PictureRect r = FitPicture(p.w, p.h, kPictureW, kPictureH);
    SDL_Rect dst = {r.x, r.y, r.w, r.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
}

void GameWindow::ShowOnSurface(bool whole) {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    PixelLayout layout;
    if (!s || !LayoutOf(s->format->format, layout)) {
        return;
    }
    // A new surface has never had its bars painted.
    whole = whole || s != surface_;
    surface_ = s;
    PictureRect r = FitPicture(s->w, s->h, kPictureW, kPictureH);
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) {
        return;
    }
    PixelTarget target = {s->pixels, s->pitch, s->w, s->h, layout};
    ScalePicture(picture_, target, r, whole);
    if (SDL_MUSTLOCK(s)) {
        SDL_UnlockSurface(s);
    }
    if (whole) {
        SDL_UpdateWindowSurface(window_);
    } else {
        SDL_Rect changed = {r.x, r.y, r.w, r.h};
        SDL_UpdateWindowSurfaceRects(window_, &changed, 1);
    }
}
