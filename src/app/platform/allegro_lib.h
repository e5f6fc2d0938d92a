// Allegro as a library on a machine that SDL runs: started without a system
// driver of its own (SYSTEM_NONE), it draws, reads datafiles and mixes sound
// while SDL owns the window, the input, the clock and the audio device.
//
// Every call into Allegro's sound (samples, the tune, the voices) made
// outside the audio callback goes through the functions below, which hold
// the audio device's lock: Allegro's mixer guards only part of its state.
#pragma once

#include <allegro.h>

#include <string>

// Starts Allegro once: the drivers the game needs (the pumped timer, a
// keyboard fed by the platform, digital sound on SDL's audio, MIDI through
// DIGMID), 16-bit 5-6-5 pixels, and a configuration kept in memory only
// (the tune's patch set at `patchesPath`; nothing is ever written back to
// an allegro.cfg or a player's ~/.allegrorc). False with a reason when
// Allegro cannot start.
bool StartAllegroLibrary(const std::string& patchesPath, std::string& error);

// The 10 ms clock: TimerTick and Allegro's own timers (the tune's player),
// from one timer that wakes no more often than that.
bool StartTicks();
void StopTicks();
// While the program only waits for the player (`idle`, and no tune plays),
// the clock wakes less often; leaving that wait hands over at once the
// ticks that passed meanwhile, as does CatchUpTicks at any time.
void TicksIdle(bool idle);
void CatchUpTicks();

// Opens the desktop's audio device and installs Allegro's sound on it.
// False when there is none: the game is silent, and nothing is printed.
bool StartSound();
void StopSound();

void SoundSetVolume(int digi, int midi);
void SoundPlaySample(SAMPLE* s, int vol, int pan, int freq, int loop);
void SoundStopSample(SAMPLE* s);
int SoundPlayMidi(MIDI* m, int loop);
void SoundMidiSeek(int beat);
int SoundMidiPos();  // beat position; negative when nothing plays
void SoundStopMidi();
// Holds every voice and the tune where they are, or lets them go on.
void SoundPause(bool paused);

// Keys into key[], the key buffer and keyboard_callback, as Allegro's own
// keyboard drivers give them: `scancode` is a KEY_ code, `character` the
// character the key typed (0 for none). A character typed without a key of
// its own (an input method's) comes as scancode 0.
void FeedKeyDown(int scancode, int character);
void FeedKeyUp(int scancode);
