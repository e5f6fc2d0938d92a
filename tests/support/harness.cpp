#include "support/harness.h"

#include <sys/stat.h>

#include "app/system.h"

void HeadlessTest::SetUp() {
    hp = StartHeadless();
    if (!backBuffer)
        backBuffer = create_bitmap(kScreenW, kScreenH);
    if (!scratchBuffer)
        scratchBuffer = create_bitmap(kScreenW, kScreenH);
    clear_to_color(backBuffer, 0);
    if (!gameFont)
        gameFont = font;
}

void HeadlessTest::TearDown() {
    for (BITMAP* b : owned_)
        destroy_bitmap(b);
    owned_.clear();
}

BITMAP* HeadlessTest::Solid(int w, int h, int colour) {
    BITMAP* b = create_bitmap(w, h);
    clear_to_color(b, colour);
    return b;
}

std::string HeadlessTest::OutPath(const std::string& name) {
    mkdir("test-output", 0755);
    return "test-output/" + name;
}

bool HaveRealData() {
    struct stat st;
    return stat("data/gfx.dat", &st) == 0 && stat("data/font.dat", &st) == 0;
}
