// The one lock over Allegro's sound, its timer queue and the mix (see
// allegro_lib.h): held by every call from the main thread, by the clock's
// pump and, through the audio device's own lock, around SDL's callback.
#pragma once

class SoundLock {
  public:
    SoundLock();
    ~SoundLock();
    SoundLock(const SoundLock&) = delete;
    SoundLock& operator=(const SoundLock&) = delete;

  private:
    unsigned locked_ = 0;  // the audio device this holds, if any
};

// Made by StartAllegroLibrary, before any thread of ours runs.
void MakeSoundLock();
