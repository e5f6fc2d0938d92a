// Masked copies of pictures, the same pixels as Allegro's masked_blit in
// less time: most of a busy frame is sprites copied past their mask colour.
#pragma once

#include <allegro.h>

// True: every copy goes through Allegro's own blitters, as a reference for
// the faster ones.
extern bool plainDrawing;

// The widest instructions the faster copies may use, so that tests can try
// each on a machine that has them all; the machine's own limit still holds.
enum class Widest { Sse2, Avx2, Avx512 };
extern Widest widestMerge;

// masked_blit(src, dst, sx, sy, dx, dy, w, h): the same clipping at the
// edges of both bitmaps and of dst's clip rectangle, the same pixels.
void MaskedBlit(BITMAP* src, BITMAP* dst, int sx, int sy, int dx, int dy, int w, int h);

// A picture whose pixels never change while it lives: MaskedBlit keeps a
// copy of its opaque part packed frame by frame and reads that instead,
// never the transparent margins. destroy_bitmap forgets it.
void NoteFixedPicture(BITMAP* picture);
