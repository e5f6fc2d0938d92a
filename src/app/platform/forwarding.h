// A platform in front of another: every call of the game's goes on to the
// platform behind it, and around each call the one in front learns where
// the game stands. The recorder and the playback are made this way, so that
// what the game sees of the machine changes for them only at calls.
//
// A method added to Platform gets its forwarding line here, and every
// platform in front forwards it.
#pragma once

#include <climits>
#include <string>

#include "app/platform/platform.h"

class ForwardingPlatform : public Platform {
  public:
    explicit ForwardingPlatform(Platform* real) : real_(real) {}

    bool Startup(std::string& error) override {
        Call c(this);
        return real_->Startup(error);
    }
    int SetGfxMode(int depth) override {
        Call c(this);
        return real_->SetGfxMode(depth);
    }
    void StartTimer() override {
        Call c(this);
        real_->StartTimer();
    }
    void Message(const char* text) override {
        Call c(this);
        real_->Message(text);
    }
    void SetVolume(int digi, int midi) override {
        Call c(this);
        real_->SetVolume(digi, midi);
    }
    void SetMouseSprite(BITMAP* sprite, int focusX, int focusY) override {
        Call c(this);
        real_->SetMouseSprite(sprite, focusX, focusY);
    }
    void ShowMouse(BITMAP* target) override {
        Call c(this);
        real_->ShowMouse(target);
    }
    void PollMouse() override {
        Call c(this);
        real_->PollMouse();
    }
    void PollKeyboard() override {
        Call c(this);
        real_->PollKeyboard();
    }
    int KeyPressed() override {
        Call c(this);
        return real_->KeyPressed();
    }
    int ReadKey() override {
        Call c(this);
        return real_->ReadKey();
    }
    void ClearKeybuf() override {
        Call c(this);
        real_->ClearKeybuf();
    }
    void Rest(unsigned ms) override {
        Call c(this);
        real_->Rest(ms);
    }
    void AwaitInput(unsigned ms) override {
        Call c(this);
        real_->AwaitInput(ms);
    }
    void Present(BITMAP* frame, int dx, int dy) override {
        Call c(this, true);
        real_->Present(frame, dx, dy);
    }
    void PresentAgain(BITMAP* frame) override {
        Call c(this, true);
        real_->PresentAgain(frame);
    }
    void PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) override {
        Call c(this);
        real_->PlaySample(s, vol, pan, freq, loop);
    }
    void StopSample(SAMPLE* s) override {
        Call c(this);
        real_->StopSample(s);
    }
    int PlayMidi(MIDI* m, int loop) override {
        Call c(this);
        return real_->PlayMidi(m, loop);
    }
    void MidiSeek(int beat) override {
        Call c(this);
        real_->MidiSeek(beat);
    }
    int MidiPos() override {
        Call c(this);
        return real_->MidiPos();
    }
    void StopMidi() override {
        Call c(this);
        real_->StopMidi();
    }
    void PauseSounds(bool paused) override {
        Call c(this);
        real_->PauseSounds(paused);
    }
    long SeedTime() override {
        Call c(this);
        return real_->SeedTime();
    }
    void SwitchDisplay() override {
        Call c(this);
        real_->SwitchDisplay();
    }

  protected:
    // Where the game stands: frames presented since the position was last
    // reset (at a game's beginning), calls since the last of them, and calls
    // in all.
    struct Position {
        int frame = 0;
        int call = 0;
        long total = 0;
    };

    // One call of the game's: Entering before it, Left after it (also when
    // it throws), both with the position the call leaves the game at.
    struct Call {
        explicit Call(ForwardingPlatform* p, bool presents = false) : p_(p), after(p->at_) {
            if (presents && after.frame < INT_MAX) {
                ++after.frame;
                after.call = 0;
            } else if (!presents && after.call < INT_MAX) {
                ++after.call;
            }
            ++after.total;
            p_->Entering(after);
        }
        ~Call() {
            p_->at_ = after;
            p_->Left(after);
        }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;
        ForwardingPlatform* p_;
        Position after;
    };

    virtual void Entering(const Position&) {}
    virtual void Left(const Position&) {}
    void ResetPosition() { at_ = Position{}; }
    const Position& at() const { return at_; }

    Platform* real_;

  private:
    Position at_;
};
