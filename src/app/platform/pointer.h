// A pointer drawn into a bitmap at (mouse_x, mouse_y), as Allegro's
// show_mouse does, with what it covered put back when it goes: for the
// platforms whose pointer is not the machine's own (a playback shows the
// recorded one; the tests' machine has none).
#pragma once

#include <allegro.h>

class DrawnPointer {
  public:
    DrawnPointer() = default;
    ~DrawnPointer();
    DrawnPointer(const DrawnPointer&) = delete;
    DrawnPointer& operator=(const DrawnPointer&) = delete;

    void SetSprite(BITMAP* sprite, int focusX, int focusY);
    // Takes the pointer off the bitmap it was drawn on, then draws it on
    // `target` (none: it only goes).
    void Show(BITMAP* target);
    BITMAP* target() const { return target_; }

  private:
    BITMAP* sprite_ = nullptr;
    int focusX_ = 0, focusY_ = 0;
    BITMAP* target_ = nullptr;
    BITMAP* under_ = nullptr;
    int underX_ = 0, underY_ = 0;
};
