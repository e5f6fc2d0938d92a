// Each picture of the game registers a function that paints it; the
// generator program of a family writes all of its registered members.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

namespace art {

struct Member {
    std::string name;  // exact member name inside gfx.dat, e.g. "cursor.bmp"
    std::function<Canvas()> paint;
};

std::vector<Member>& Members();

struct Register {
    Register(const char* name, std::function<Canvas()> paint) {
        Members().push_back({name, std::move(paint)});
    }
};

}  // namespace art

// ART_MEMBER(cursor, "cursor.bmp") { Canvas c(80, 72); ...; return c; }
#define ART_MEMBER(id, name)                                 \
    static art::Canvas Paint_##id();                         \
    static art::Register artRegister_##id(name, Paint_##id); \
    static art::Canvas Paint_##id()
