#include "actors/anim.h"

#include "app/draw/blit.h"

Anim* CreateAnim(BITMAP* image, int frameCount) {
    Anim* anim = new Anim;
    anim->frameCount = frameCount;
    anim->image = image;
    anim->frame = 0;
    anim->frameWidth = image->w / frameCount;
    return anim;
}

void FreeAnim(Anim* anim) {
    delete anim;
}

void DrawAnimFrame(const Anim* anim, BITMAP* target, int x, int y) {
    if (!anim->image)
        return;
    MaskedBlit(anim->image, target, anim->frame * anim->frameWidth, 0, x, y, anim->frameWidth,
               anim->image->h);
}

void DrawAnimRising(const Anim* anim, BITMAP* target, int x, int baseY, int rise) {
    if (!anim->image || rise <= 0)
        return;
    MaskedBlit(anim->image, target, anim->frame * anim->frameWidth, 0, x, baseY - rise,
               anim->frameWidth, rise);
}
