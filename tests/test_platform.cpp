// The real machine's rules that need no display: how large the window
// opens, which way frames go, what a key and a press mean to the game, and
// which picture pixel the pointer points at.
#include <gtest/gtest.h>

#include "app/platform/sdl_input.h"
#include "app/platform/sdl_window.h"

TEST(Window, OpensAtTheLargestWholeMultipleThatFitsOrAsChosen) {
    struct Case {
        int areaW, areaH;
        int scale, keptW, keptH;  // the settings
        int w, h;                 // the window
    } cases[] = {
        {1366, 768, 0, 0, 0, 800, 600},
        {1920, 1080, 0, 0, 0, 800, 600},
        {2560, 1440, 0, 0, 0, 1600, 1200},
        {3840, 2160, 0, 0, 0, 2400, 1800},
        {1600, 1200, 0, 0, 0, 1600, 1200},
        {1599, 1200, 0, 0, 0, 800, 600},
        {1024, 600, 0, 0, 0, 800, 600},
        {640, 480, 0, 0, 0, 800, 600},
        {7680, 4320, 0, 0, 0, 5600, 4200},
        {1920, 1080, 2, 0, 0, 1600, 1200},
        {1920, 1080, 0, 1000, 700, 1000, 700},
        {1920, 1080, 3, 1000, 700, 1000, 700},
        // A size kept from a larger desktop, or too small to be meant.
        {1366, 768, 0, 1600, 1200, 800, 600},
        {1366, 768, 0, 1600, 700, 800, 600},
        {1366, 768, 0, 1000, 1000, 800, 600},
        {1920, 1080, 0, 200, 150, 800, 600},
    };
    for (const Case& c : cases) {
        Settings s;
        s.scale = c.scale;
        s.windowW = c.keptW;
        s.windowH = c.keptH;
        PixelSize got = StartWindowSize(s, c.areaW, c.areaH);
        EXPECT_EQ(got.w, c.w) << c.areaW << "x" << c.areaH << " scale " << c.scale;
        EXPECT_EQ(got.h, c.h) << c.areaW << "x" << c.areaH << " scale " << c.scale;
    }
}

TEST(Window, TheGpuOnlyWhereOneReallyDraws) {
    struct Case {
        Renderer choice;
        bool gpuMade;
        const char* gl;
        bool gpu;
    } cases[] = {
        {Renderer::kAuto, true, "llvmpipe (LLVM 15.0.6, 256 bits)", false},
        {Renderer::kAuto, true, "softpipe", false},
        {Renderer::kAuto, true, "Software Rasterizer", false},
        {Renderer::kAuto, true, "D3D12 (Microsoft Basic Render Driver)", false},
        {Renderer::kAuto, true, "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)", true},
        {Renderer::kAuto, true, "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", true},
        {Renderer::kAuto, true, "NVIDIA GeForce GTX 1060/PCIe/SSE2", true},
        {Renderer::kAuto, true, "", true},  // not OpenGL: SDL's word for it
        {Renderer::kAuto, false, "", false},
        {Renderer::kGpu, true, "llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {Renderer::kGpu, false, "", false},
        {Renderer::kSurface, true, "NVIDIA GeForce GTX 1060/PCIe/SSE2", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UseGpu(c.choice, c.gpuMade, c.gl), c.gpu) << int(c.choice) << " " << c.gl;
    }
}

TEST(Window, ThePointerPointsAtThePicturesPixelUnderItAndStaysOnItOverTheBars) {
    struct Case {
        int wx, wy, windowW, windowH, pixelsW, pixelsH;
        int px, py;
        bool on;
    } cases[] = {
        {0, 0, 800, 600, 800, 600, 0, 0, true},
        {799, 599, 800, 600, 800, 600, 799, 599, true},
        {1598, 1198, 1600, 1200, 1600, 1200, 799, 599, true},
        {720, 1140, 2400, 1800, 2400, 1800, 240, 380, true},
        // Full screen on 1920x1080: 1440x1080 from x 240.
        {240, 0, 1920, 1080, 1920, 1080, 0, 0, true},
        {1679, 1079, 1920, 1080, 1920, 1080, 799, 599, true},
        {100, 540, 1920, 1080, 1920, 1080, 0, 300, false},
        {1800, 1079, 1920, 1080, 1920, 1080, 799, 599, false},
        // A window wider than 4:3 by a few pixels, and a HiDPI window.
        {400, 300, 1000, 600, 1000, 600, 300, 300, true},
        {400, 300, 800, 600, 1600, 1200, 400, 300, true},
    };
    for (const Case& c : cases) {
        int px = -1, py = -1;
        bool on = PointerToPicture(c.wx, c.wy, c.windowW, c.windowH, c.pixelsW, c.pixelsH, px, py);
        EXPECT_EQ(px, c.px) << c.wx << "," << c.wy << " in " << c.windowW << "x" << c.windowH;
        EXPECT_EQ(py, c.py) << c.wx << "," << c.wy << " in " << c.windowW << "x" << c.windowH;
        EXPECT_EQ(on, c.on) << c.wx << "," << c.wy << " in " << c.windowW << "x" << c.windowH;
    }
}

TEST(Keys, LettersByTheLayoutTheRestByPosition) {
    struct Case {
        SDL_Scancode scancode;
        SDL_Keycode layoutKey;
        int code;
    } cases[] = {
        {SDL_SCANCODE_P, SDLK_p, KEY_P},
        // AZERTY: the key a US keyboard calls Q types A, and the other way.
        {SDL_SCANCODE_Q, SDLK_a, KEY_A},
        {SDL_SCANCODE_A, SDLK_q, KEY_Q},
        // Russian: the key of P types "з" and is still P.
        {SDL_SCANCODE_P, 0x0437, KEY_P},
        // The digit row: SDL counts 1..9, 0; the keys stay where they are.
        {SDL_SCANCODE_1, SDLK_1, KEY_1},
        {SDL_SCANCODE_0, SDLK_0, KEY_0},
        {SDL_SCANCODE_1, SDLK_AMPERSAND, KEY_1},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, KEY_ENTER},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KEY_ENTER_PAD},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KEY_ESC},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, KEY_BACKSPACE},
        {SDL_SCANCODE_DELETE, SDLK_DELETE, KEY_DEL},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, KEY_LEFT},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, KEY_DOWN},
        {SDL_SCANCODE_F9, SDLK_F9, KEY_F9},
        {SDL_SCANCODE_F11, SDLK_F11, KEY_F11},
        {SDL_SCANCODE_KP_7, SDLK_KP_7, KEY_7_PAD},
        {SDL_SCANCODE_AC_BACK, SDLK_AC_BACK, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllegroKey(c.scancode, c.layoutKey), c.code) << SDL_GetScancodeName(c.scancode);
    }
    // What readkey gives for keys that send no text, and text as typed.
    EXPECT_EQ(ControlCharacter(SDL_SCANCODE_RETURN), 13);
    EXPECT_EQ(ControlCharacter(SDL_SCANCODE_BACKSPACE), 8);
    EXPECT_EQ(ControlCharacter(SDL_SCANCODE_ESCAPE), 27);
    EXPECT_EQ(ControlCharacter(SDL_SCANCODE_LEFT), 0);
    EXPECT_EQ(FirstCodePoint("a"), 'a');
    EXPECT_EQ(FirstCodePoint("\xC3\xA9"), 233);  // é
    EXPECT_EQ(FirstCodePoint("\xE2\x82\xAC"), 0x20AC);
    EXPECT_EQ(FirstCodePoint("\xC3"), 0);
    EXPECT_EQ(FirstCodePoint(""), 0);
}

// A script of a key's life: D down, U up, L a look by the game. After each
// step, whether the game sees the key down (1) or not (0), and what each
// look let go.
TEST(Keys, APressShorterThanAFrameIsHeldUntilTheGameHasSeenIt) {
    struct Case {
        const char* steps;
        const char* shown;  // after each step
    } cases[] = {
        {"DLUL", "1100"},      // a long press: let go at once
        {"DULL", "1110"},      // between two looks: held for one
        {"LDULL", "01110"},    // the same after an empty look
        {"DUDULL", "111110"},  // two taps in one frame: one press
        {"DULLDL", "111011"},  // a new press after the held one went
        {"DUDLUL", "111100"},  // held, pressed again and seen: let go at once
    };
    for (const Case& c : cases) {
        PressLatch latch;
        std::string shown;
        for (const char* s = c.steps; *s; ++s) {
            if (*s == 'D') {
                latch.Down(KEY_Q);
            } else if (*s == 'U') {
                latch.Up(KEY_Q);
            } else {
                latch.Look();
            }
            shown += latch.Shown(KEY_Q) ? '1' : '0';
        }
        EXPECT_EQ(shown, c.shown) << c.steps;
    }
    // A held press is let go by the look after the one that saw it, and
    // names the key; a long press is let go by its own release.
    PressLatch latch;
    latch.Down(KEY_P);
    EXPECT_FALSE(latch.Up(KEY_P));
    EXPECT_TRUE(latch.Look().empty());
    EXPECT_EQ(latch.Look(), std::vector<int>{KEY_P});
    latch.Down(KEY_V);
    latch.Look();
    EXPECT_TRUE(latch.Up(KEY_V));
    EXPECT_TRUE(latch.Look().empty());
}
