#include "app/platform/sdl_input.h"

#include <allegro.h>

namespace {

// Keys found by where they sit on the keyboard (letters go by the layout).
struct KeyPair {
    SDL_Scancode sdl;  // SDL's position of the key
    int allegro;       // Allegro's KEY_ code for it
};

constexpr KeyPair kKeysByPosition[] = {
    // SDL numbers the digit row 1..9, 0; Allegro 0..9.
    {SDL_SCANCODE_0, KEY_0},
    {SDL_SCANCODE_1, KEY_1},
    {SDL_SCANCODE_2, KEY_2},
    {SDL_SCANCODE_3, KEY_3},
    {SDL_SCANCODE_4, KEY_4},
    {SDL_SCANCODE_5, KEY_5},
    {SDL_SCANCODE_6, KEY_6},
    {SDL_SCANCODE_7, KEY_7},
    {SDL_SCANCODE_8, KEY_8},
    {SDL_SCANCODE_9, KEY_9},
    {SDL_SCANCODE_KP_0, KEY_0_PAD},
    {SDL_SCANCODE_KP_1, KEY_1_PAD},
    {SDL_SCANCODE_KP_2, KEY_2_PAD},
    {SDL_SCANCODE_KP_3, KEY_3_PAD},
    {SDL_SCANCODE_KP_4, KEY_4_PAD},
    {SDL_SCANCODE_KP_5, KEY_5_PAD},
    {SDL_SCANCODE_KP_6, KEY_6_PAD},
    {SDL_SCANCODE_KP_7, KEY_7_PAD},
    {SDL_SCANCODE_KP_8, KEY_8_PAD},
    {SDL_SCANCODE_KP_9, KEY_9_PAD},
    {SDL_SCANCODE_F1, KEY_F1},
    {SDL_SCANCODE_F2, KEY_F2},
    {SDL_SCANCODE_F3, KEY_F3},
    {SDL_SCANCODE_F4, KEY_F4},
    {SDL_SCANCODE_F5, KEY_F5},
    {SDL_SCANCODE_F6, KEY_F6},
    {SDL_SCANCODE_F7, KEY_F7},
    {SDL_SCANCODE_F8, KEY_F8},
    {SDL_SCANCODE_F9, KEY_F9},
    {SDL_SCANCODE_F10, KEY_F10},
    {SDL_SCANCODE_F11, KEY_F11},
    {SDL_SCANCODE_F12, KEY_F12},
    {SDL_SCANCODE_ESCAPE, KEY_ESC},
    {SDL_SCANCODE_GRAVE, KEY_TILDE},
    {SDL_SCANCODE_MINUS, KEY_MINUS},
    {SDL_SCANCODE_EQUALS, KEY_EQUALS},
    {SDL_SCANCODE_BACKSPACE, KEY_BACKSPACE},
    {SDL_SCANCODE_TAB, KEY_TAB},
    {SDL_SCANCODE_LEFTBRACKET, KEY_OPENBRACE},
    {SDL_SCANCODE_RIGHTBRACKET, KEY_CLOSEBRACE},
    {SDL_SCANCODE_RETURN, KEY_ENTER},
    {SDL_SCANCODE_SEMICOLON, KEY_COLON},
    {SDL_SCANCODE_APOSTROPHE, KEY_QUOTE},
    {SDL_SCANCODE_BACKSLASH, KEY_BACKSLASH},
    {SDL_SCANCODE_NONUSBACKSLASH, KEY_BACKSLASH2},
    {SDL_SCANCODE_COMMA, KEY_COMMA},
    {SDL_SCANCODE_PERIOD, KEY_STOP},
    {SDL_SCANCODE_SLASH, KEY_SLASH},
    {SDL_SCANCODE_SPACE, KEY_SPACE},
    {SDL_SCANCODE_INSERT, KEY_INSERT},
    {SDL_SCANCODE_DELETE, KEY_DEL},
    {SDL_SCANCODE_HOME, KEY_HOME},
    {SDL_SCANCODE_END, KEY_END},
    {SDL_SCANCODE_PAGEUP, KEY_PGUP},
    {SDL_SCANCODE_PAGEDOWN, KEY_PGDN},
    {SDL_SCANCODE_LEFT, KEY_LEFT},
    {SDL_SCANCODE_RIGHT, KEY_RIGHT},
    {SDL_SCANCODE_UP, KEY_UP},
    {SDL_SCANCODE_DOWN, KEY_DOWN},
    {SDL_SCANCODE_KP_DIVIDE, KEY_SLASH_PAD},
    {SDL_SCANCODE_KP_MULTIPLY, KEY_ASTERISK},
    {SDL_SCANCODE_KP_MINUS, KEY_MINUS_PAD},
    {SDL_SCANCODE_KP_PLUS, KEY_PLUS_PAD},
    {SDL_SCANCODE_KP_PERIOD, KEY_DEL_PAD},
    {SDL_SCANCODE_KP_ENTER, KEY_ENTER_PAD},
    {SDL_SCANCODE_KP_EQUALS, KEY_EQUALS_PAD},
    {SDL_SCANCODE_PRINTSCREEN, KEY_PRTSCR},
    {SDL_SCANCODE_PAUSE, KEY_PAUSE},
    {SDL_SCANCODE_INTERNATIONAL1, KEY_ABNT_C1},
    {SDL_SCANCODE_INTERNATIONAL3, KEY_YEN},
    {SDL_SCANCODE_INTERNATIONAL2, KEY_KANA},
    {SDL_SCANCODE_INTERNATIONAL4, KEY_CONVERT},
    {SDL_SCANCODE_INTERNATIONAL5, KEY_NOCONVERT},
    {SDL_SCANCODE_LSHIFT, KEY_LSHIFT},
    {SDL_SCANCODE_RSHIFT, KEY_RSHIFT},
    {SDL_SCANCODE_LCTRL, KEY_LCONTROL},
    {SDL_SCANCODE_RCTRL, KEY_RCONTROL},
    {SDL_SCANCODE_LALT, KEY_ALT},
    {SDL_SCANCODE_RALT, KEY_ALTGR},
    {SDL_SCANCODE_LGUI, KEY_LWIN},
    {SDL_SCANCODE_RGUI, KEY_RWIN},
    {SDL_SCANCODE_APPLICATION, KEY_MENU},
    {SDL_SCANCODE_SCROLLLOCK, KEY_SCRLOCK},
    {SDL_SCANCODE_NUMLOCKCLEAR, KEY_NUMLOCK},
    {SDL_SCANCODE_CAPSLOCK, KEY_CAPSLOCK},
};

// Keys whose character the desktop does not send as text.
struct ControlKey {
    SDL_Scancode sdl;  // the key
    int character;     // what Allegro's readkey gives for it
};

constexpr ControlKey kControlKeys[] = {
    {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9},     {SDL_SCANCODE_ESCAPE, 27},   {SDL_SCANCODE_DELETE, 127},
};

}  // namespace

int AllegroKey(SDL_Scancode scancode, SDL_Keycode layoutKey) {
    if (layoutKey >= SDLK_a && layoutKey <= SDLK_z) {
        return KEY_A + (layoutKey - SDLK_a);
    }
    // A layout without Latin letters (Cyrillic, Greek) still has P, Q and V
    // where a US keyboard has them.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z && layoutKey >= 0x80) {
        return KEY_A + (scancode - SDL_SCANCODE_A);
    }
    for (const KeyPair& k : kKeysByPosition) {
        if (k.sdl == scancode) {
            return k.allegro;
        }
    }
    return 0;
}

int ControlCharacter(SDL_Scancode scancode) {
    for (const ControlKey& k : kControlKeys) {
        if (k.sdl == scancode) {
            return k.character;
        }
    }
    return 0;
}

int FirstCodePoint(const char* utf8) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8);
    if (!s || !s[0]) {
        return 0;
    }
    if (s[0] < 0x80) {
        return s[0];
    }
    int extra = s[0] >= 0xF0 ? 3 : s[0] >= 0xE0 ? 2 : s[0] >= 0xC0 ? 1 : -1;
    if (extra < 0 || s[0] >= 0xF8) {
        return 0;
    }
    int c = s[0] & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (s[i] & 0x3F);
    }
    return c;
}

void PressLatch::Down(int code) {
    if (Valid(code)) {
        codes_[code] = {true, true, false};
    }
}

bool PressLatch::Up(int code) {
    if (!Valid(code)) {
        return true;
    }
    State& s = codes_[code];
    s.down = false;
    s.held = s.unseen;
    return !s.held;
}

std::vector<int> PressLatch::Look() {
    std::vector<int> released;
    for (int c = 1; c < kCodes; ++c) {
        State& s = codes_[c];
        if (s.held && !s.unseen) {
            s.held = false;
            released.push_back(c);
        }
        s.unseen = false;
    }
    return released;
}

bool PressLatch::Shown(int code) const {
    return Valid(code) && (codes_[code].down || codes_[code].held);
}
