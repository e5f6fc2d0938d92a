// A sprite strip: equally wide frames side by side in one image, every frame
// as high as the image. The record only knows which frame is current; its
// owner decides when to advance it.
#pragma once

#include <allegro.h>

struct Anim {
    int frameCount;  // frames in the strip, at least 1
    int frameWidth;  // image width / frameCount; leftover columns are never shown
    int frame;       // current frame, 0 .. frameCount - 1
    BITMAP* image;   // the strip; shared, never owned
};

// A new heap record at frame 0. The caller guarantees a loaded image and
// frameCount >= 1. Release it with FreeAnim (plain delete).
Anim* CreateAnim(BITMAP* image, int frameCount);
void FreeAnim(Anim* anim);

// The current frame with its top-left corner at (x, y) on target; whatever
// falls outside the target is clipped by the blit.
void DrawAnimFrame(const Anim* anim, BITMAP* target, int x, int y);

// Only the top `rise` rows of the current frame, bottom edge on row
// baseY - 1: a figure climbing out of a hole whose rim is at baseY.
void DrawAnimRising(const Anim* anim, BITMAP* target, int x, int baseY, int rise);

// The looping advance, applied after drawing.
inline void AdvanceAnim(Anim* anim) {
    anim->frame = (anim->frame + 1) % anim->frameCount;
}
