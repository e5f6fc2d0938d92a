// Allegro's mixer played through SDL's audio device: a digital sound driver
// whose buffer SDL's callback asks Allegro to fill, as Allegro's own ALSA
// driver does for its device. The samples and DIGMID's voices keep Allegro's
// mixing; only the way out changes.
#include <SDL.h>
#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/platform/allegro_lib.h"
#include "app/platform/soundlock.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kFrames = 1024;  // per callback: 23 ms
constexpr int kMixBytes = kFrames * kChannels * 2;

// Every sample sounds at pan 64, which puts three quarters of it on the
// left: at Allegro's usual scale a gun, a hit and both loops together run
// past full scale there. One step down halves every voice and leaves the
// pan as it is.
constexpr int kVoiceScale = 2;

SDL_mutex* soundMutex = nullptr;
SDL_AudioDeviceID device = 0;  // 0 while no device plays
bool soundStarted = false;

Uint8 mixed[kMixBytes];
int mixedSent = kMixBytes;  // bytes of `mixed` already handed to SDL

// SDL holds the device's lock around this.
void OnAudio(void*, Uint8* out, int len) {
    while (len > 0) {
        if (mixedSent == kMixBytes) {
            _mix_some_samples(uintptr_t(mixed), 0, TRUE);
            mixedSent = 0;
        }
        int n = len < kMixBytes - mixedSent ? len : kMixBytes - mixedSent;
        std::memcpy(out, mixed + mixedSent, size_t(n));
        mixedSent += n;
        out += n;
        len -= n;
    }
}

// The audio libraries tell the terminal about every device they try and
// cannot open; a machine without sound is simply silent.
class QuietStderr {
  public:
    QuietStderr() {
#ifndef _WIN32
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        int null = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0) {
            dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            close(null);
        }
#endif
    }
    ~QuietStderr() {
#ifndef _WIN32
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
#endif
    }

  private:
    int saved_ = -1;
};

int SdlDetect(int input);
int SdlInit(int input, int voices);
void SdlExit(int input);

DIGI_DRIVER sdlDigi = {
    AL_ID('S', 'D', 'L', 'A'),    // id
    "",                           // name
    "",                           // desc
    "SDL audio",                  // ascii_name
    0,                            // voices
    0,                            // basevoice
    MIXER_MAX_SFX,                // max_voices
    MIXER_DEF_SFX,                // def_voices
    SdlDetect,                    // detect
    SdlInit,                      // init
    SdlExit,                      // exit
    nullptr,                      // set_mixer_volume
    nullptr,                      // get_mixer_volume
    nullptr,                      // lock_voice
    nullptr,                      // unlock_voice
    nullptr,                      // buffer_size
    _mixer_init_voice,            // init_voice
    _mixer_release_voice,         // release_voice
    _mixer_start_voice,           // start_voice
    _mixer_stop_voice,            // stop_voice
    _mixer_loop_voice,            // loop_voice
    _mixer_get_position,          // get_position
    _mixer_set_position,          // set_position
    _mixer_get_volume,            // get_volume
    _mixer_set_volume,            // set_volume
    _mixer_ramp_volume,           // ramp_volume
    _mixer_stop_volume_ramp,      // stop_volume_ramp
    _mixer_get_frequency,         // get_frequency
    _mixer_set_frequency,         // set_frequency
    _mixer_sweep_frequency,       // sweep_frequency
    _mixer_stop_frequency_sweep,  // stop_frequency_sweep
    _mixer_get_pan,               // get_pan
    _mixer_set_pan,               // set_pan
    _mixer_sweep_pan,             // sweep_pan
    _mixer_stop_pan_sweep,        // stop_pan_sweep
    _mixer_set_echo,              // set_echo
    _mixer_set_tremolo,           // set_tremolo
    _mixer_set_vibrato,           // set_vibrato
    0,                            // rec_cap_bits
    0,                            // rec_cap_stereo
    nullptr,                      // rec_cap_rate
    nullptr,                      // rec_cap_parm
    nullptr,                      // rec_source
    nullptr,                      // rec_start
    nullptr,                      // rec_stop
    nullptr,                      // rec_read
};

_DRIVER_INFO digiDrivers[] = {{AL_ID('S', 'D', 'L', 'A'), &sdlDigi, TRUE}, {0, nullptr, 0}};

int SdlDetect(int input) {
    return input ? FALSE : TRUE;
}

int SdlInit(int input, int voices) {
    if (input) {
        return -1;
    }
    SDL_AudioSpec want = {};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = kChannels;
    want.samples = kFrames;
    want.callback = OnAudio;
    SDL_AudioSpec got;
    // No changes allowed: SDL converts for a device that wants another form,
    // and the callback always fills the mixer's own buffer size.
    SDL_AudioDeviceID opened = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
    if (!opened) {
        return -1;
    }
    sdlDigi.voices = voices;
    if (_mixer_init(kFrames * kChannels, kRate, TRUE, TRUE, &sdlDigi.voices) != 0) {
        SDL_CloseAudioDevice(opened);
        return -1;
    }
    mixedSent = kMixBytes;
    device = opened;  // paused until the sound is fully installed
    return 0;
}

// The device stops before the mixer goes: its callback may be mixing.
void CloseDevice() {
    SDL_LockMutex(soundMutex);
    SDL_AudioDeviceID d = device;
    device = 0;
    if (d) {
        SDL_CloseAudioDevice(d);
    }
    SDL_UnlockMutex(soundMutex);
}

void SdlExit(int input) {
    if (!input) {
        CloseDevice();
        _mixer_exit();
    }
}

// Allegro's own clean-up at exit, for a program that did not stop them:
// runs before Allegro removes its sound and its timer.
void StopAtExit() {
    StopTicks();
    StopSound();
}

}  // namespace

_DRIVER_INFO* DigiDrivers() {
    return digiDrivers;
}

void MakeSoundLock() {
    if (!soundMutex) {
        soundMutex = SDL_CreateMutex();
    }
}

// The pump and the main thread take the program's own lock first, so the
// device can be closed under it without waiting on its own callback.
SoundLock::SoundLock() {
    if (soundMutex) {
        SDL_LockMutex(soundMutex);
        locked_ = device;
        if (locked_) {
            SDL_LockAudioDevice(locked_);
        }
    }
}

SoundLock::~SoundLock() {
    if (soundMutex) {
        if (locked_) {
            SDL_UnlockAudioDevice(locked_);
        }
        SDL_UnlockMutex(soundMutex);
    }
}

bool StartSound() {
    static bool playing = false;
    if (!soundMutex || soundStarted) {
        return soundStarted && playing;
    }
    playing = false;
    bool audio = false;
    {
        QuietStderr quiet;
        audio = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (audio) {
            SoundLock lock;
            playing = install_sound(sdlDigi.id, MIDI_AUTODETECT, nullptr) == 0;
            if (playing) {
                set_volume_per_voice(kVoiceScale);
                SDL_PauseAudioDevice(device, 0);
            }
        }
    }
    // Silent, but the tune's player still keeps time for the intro: it
    // needs only the clock.
    if (!playing && audio) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    soundStarted = true;
    _add_exit_func(StopAtExit, "StopAtExit");
    return playing;
}

void StopSound() {
    if (!soundStarted) {
        return;
    }
    _remove_exit_func(StopAtExit);
    bool hadDevice;
    {
        SDL_LockMutex(soundMutex);
        hadDevice = device != 0;
        CloseDevice();
        remove_sound();
        soundStarted = false;
        SDL_UnlockMutex(soundMutex);
    }
    if (hadDevice) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

namespace {
std::vector<int> heldVoices;
bool soundsPaused = false;
}  // namespace

void SoundSetVolume(int digi, int midi) {
    SoundLock lock;
    set_volume(digi, midi);
}

void SoundPlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) {
    if (s) {
        SoundLock lock;
        play_sample(s, vol, pan, freq, loop);
    }
}

void SoundStopSample(SAMPLE* s) {
    if (s) {
        SoundLock lock;
        stop_sample(s);
    }
}

int SoundPlayMidi(MIDI* m, int loop) {
    SoundLock lock;
    return play_midi(m, loop);
}

void SoundMidiSeek(int beat) {
    SoundLock lock;
    midi_seek(beat);
}

int SoundMidiPos() {
    SoundLock lock;
    return int(midi_pos);
}

void SoundStopMidi() {
    SoundLock lock;
    stop_midi();
}

void SoundPause(bool paused) {
    SoundLock lock;
    if (paused == soundsPaused) {
        return;
    }
    soundsPaused = paused;
    if (paused) {
        int firstTuneVoice = midi_driver->max_voices < 0 ? midi_driver->basevoice : VIRTUAL_VOICES;
        heldVoices.clear();
        for (int v = 0; v < firstTuneVoice; ++v) {
            if (voice_check(v) && voice_get_position(v) >= 0) {
                voice_stop(v);
                heldVoices.push_back(v);
            }
        }
        // The tune's player stands still and lets its notes go; they are cut
        // rather than left to fade, so that a pause is silent at once.
        midi_pause();
        for (int v = firstTuneVoice; v < VIRTUAL_VOICES; ++v) {
            if (voice_check(v)) {
                voice_stop(v);
            }
        }
    } else {
        for (int v : heldVoices) {
            voice_start(v);
        }
        heldVoices.clear();
        midi_resume();
    }
}
