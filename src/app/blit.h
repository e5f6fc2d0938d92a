// Masked copies of pictures, the same pixels as Allegro's masked_blit in
// less time: most of a busy frame is sprites copied past their mask colour.
#pragma once

#include <allegro.h>

// True: every copy goes through Allegro's own blitters, as a reference for
// the faster ones.
extern bool plainDrawing;

// masked_blit(src, dst, sx, sy, dx, dy, w, h): the same clipping at the
// edges of both bitmaps and of dst's clip rectangle, the same pixels.
void MaskedBlit(BITMAP* src, BITMAP* dst, int sx, int sy, int dx, int dy, int w, int h);
