// actors_view: draws the moving actors from data/gfx.dat over a landscape
// view, at the rows and offsets the game uses, and saves it for review.
//
//   actors_view GFX_DAT BACKGROUND.bmp OUT.bmp [STEP] [KILLER]
//
// BACKGROUND is an 800x600 view (landscape_view makes one). STEP picks the
// animation frame of every strip, so a series of STEP values plays the
// scene. KILLER 1 adds the killer firing, 2 the killer exploding.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

std::string gDat;
std::map<std::string, BITMAP*> gCache;

BITMAP* Need(const std::string& name) {
    auto it = gCache.find(name);
    if (it != gCache.end())
        return it->second;
    BITMAP* b = load_bitmap((gDat + "#" + name).c_str(), nullptr);
    if (!b) {
        std::fprintf(stderr, "actors_view: missing %s\n", name.c_str());
        std::exit(1);
    }
    gCache[name] = b;
    return b;
}

// Frame `frame` (wrapped) of a strip of `frames`, top-left at (x, y).
void Draw(BITMAP* dst, const std::string& name, int frames, int frame, int x, int y) {
    BITMAP* b = Need(name);
    int fw = b->w / frames;
    masked_blit(b, dst, (frame % frames) * fw, 0, x, y, fw, b->h);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s GFX_DAT BACKGROUND.bmp OUT.bmp [STEP] [KILLER]\n", argv[0]);
        return 2;
    }
    gDat = argv[1];
    const int step = argc > 4 ? std::atoi(argv[4]) : 0;
    const int killer = argc > 5 ? std::atoi(argv[5]) : 0;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(16);
    _rgb_r_shift_16 = 11;
    _rgb_g_shift_16 = 5;
    _rgb_b_shift_16 = 0;
    BITMAP* view = load_bitmap(argv[2], nullptr);
    if (!view) {
        std::fprintf(stderr, "actors_view: cannot read %s\n", argv[2]);
        return 1;
    }

    // Sky: saucer, plane dropping its package, a falling wreck, bubbles.
    Draw(view, "ufodreh.bmp", 4, step, 430, 20);
    Draw(view, "flieger.bmp", 4, step, 610, 30);
    Draw(view, "care.bmp", 9, step / 5, 540, 120);
    Draw(view, "flieger_.bmp", 4, step, 120, 70);
    const int bubbles[4][3] = {{0, 300, 110}, {1, 322, 140}, {2, 342, 118}, {0, 280, 150}};
    for (const auto& b : bubbles)
        Draw(view, "bubble" + std::to_string(b[0]) + ".bmp", 14, step + b[1], b[1], b[2]);
    Draw(view, "bubble3.bmp", 8, 1 + step % 7, 362, 150);

    // The walk line: a cuddling pair 45 apart with its heart, a walker
    // bursting, a female walking left (her strip plays backwards).
    const int male = 300, female = 345;
    Draw(view, "mpschmr.bmp", 12, step, male, 313);
    Draw(view, "fpschml.bmp", 12, step, female, 313);
    BITMAP* cuddle = Need("mpschmr.bmp");
    Draw(view, "herz.bmp", 13, step, male + cuddle->w / 12 - 72, 313 - 50);
    Draw(view, "mpexp.bmp", 15, 1 + step % 14, 640, 313);
    Draw(view, "fpwalkl.bmp", 12, 11 - step % 12, 720, 313);

    // Small shooters: one firing (lifted 20 rows) with its casings, one
    // beaming down.
    Draw(view, "shootershoot.bmp", 10, step, 480, 313);
    Draw(view, "huelsee2.bmp", 11, step, 480, 313 + 90);
    Draw(view, "beam2.bmp", 7, step / 2, 200 - 117, 333 - 20);
    Draw(view, "ballexpl.bmp", 17, 1 + step % 16, 560, 333 + 10);

    // Big shooters on row 590: one firing, one walking.
    BITMAP* big = Need("shooterbigwl.bmp");
    const int bigY = 590 - big->h;
    Draw(view, "shooterbigshoot.bmp", 10, step, 40, bigY - 20);
    Draw(view, "shooterbighuelse.bmp", 11, step, 40, bigY - 20 + 90);
    Draw(view, "shooterbigwr.bmp", 12, step, 600, bigY);

    if (killer) {
        BITMAP* k = Need("killer_.bmp");
        const int kx = (800 - k->w) / 2, ky = 600 - k->h;
        if (killer == 1) {
            Draw(view, "killer.bmp", 10, step, kx, ky);
            Draw(view, "huelsee1.bmp", 11, 10 - step % 11, kx, ky + 120);
        } else {
            Draw(view, "killerexpl.bmp", 18, 1 + step % 17, kx - 50, ky);
        }
    }

    if (save_bitmap(argv[3], view, nullptr) != 0) {
        std::fprintf(stderr, "actors_view: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
