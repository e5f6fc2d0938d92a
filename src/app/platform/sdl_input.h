// What the desktop's keys and buttons mean to the game: SDL's keys as
// Allegro's KEY_ codes and characters, and presses held until the game has
// looked at them.
#pragma once

#include <SDL.h>

#include <array>
#include <vector>

// The KEY_ code of a key: letters as the player's keyboard layout names them
// (`layoutKey`, from SDL_GetKeyFromScancode), every other key by where it
// sits. 0 for keys the game has no code for.
int AllegroKey(SDL_Scancode scancode, SDL_Keycode layoutKey);

// The character a key types when the desktop sends no text for it (Enter,
// Backspace, Tab, Escape, Delete); 0 for the others.
int ControlCharacter(SDL_Scancode scancode);

// The first character of a UTF-8 text, as a code point; 0 for none or for
// bytes that are not UTF-8.
int FirstCodePoint(const char* utf8);

// The game looks at its keys and buttons once a frame, and keeps using what
// it saw until the next look. A press that begins and ends between two looks
// is held down until the game has looked once, and let go at the look after
// that one.
class PressLatch {
  public:
    static constexpr int kCodes = 128;

    void Down(int code);
    // True when the release counts now; false when the press is held.
    bool Up(int code);
    // The game looks: the held presses it saw at its last look are let go
    // (returned), and what is down or held now counts as seen.
    std::vector<int> Look();
    // Down as the game is to see it: pressed, or held.
    bool Shown(int code) const;

  private:
    struct State {
        bool down = false;    // the key or button is down on the desktop
        bool unseen = false;  // pressed since the game last looked
        bool held = false;    // let go on the desktop, still down for the game
    };
    bool Valid(int code) const { return code > 0 && code < kCodes; }
    std::array<State, kCodes> codes_{};
};
