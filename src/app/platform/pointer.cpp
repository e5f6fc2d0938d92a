#include "app/platform/pointer.h"

DrawnPointer::~DrawnPointer() {
    if (under_) {
        destroy_bitmap(under_);
    }
}

void DrawnPointer::SetSprite(BITMAP* sprite, int focusX, int focusY) {
    sprite_ = sprite;
    focusX_ = focusX;
    focusY_ = focusY;
}

void DrawnPointer::Show(BITMAP* target) {
    if (target_ && under_) {
        blit(under_, target_, 0, 0, underX_, underY_, under_->w, under_->h);
    }
    target_ = target;
    if (!target || !sprite_) {
        return;
    }
    if (!under_ || under_->w != sprite_->w || under_->h != sprite_->h ||
        bitmap_color_depth(under_) != bitmap_color_depth(target)) {
        if (under_) {
            destroy_bitmap(under_);
        }
        under_ = create_bitmap_ex(bitmap_color_depth(target), sprite_->w, sprite_->h);
    }
    underX_ = mouse_x - focusX_;
    underY_ = mouse_y - focusY_;
    blit(target, under_, underX_, underY_, 0, 0, sprite_->w, sprite_->h);
    draw_sprite(target, sprite_, underX_, underY_);
}
