// --record FILE: the real machine's platform, with every game of the visit
// kept as a recording (game/replay.h, version 2). The first game is written
// to FILE, the next to FILE-2 and on (NumberedRecording), each when its
// last frame is over and replaced safely, so that a crash leaves the games
// before it as they were.
//
// What the game sees of the machine changes only at platform calls: the
// mouse and keys at polls (Allegro's polling mode, the SDL pump), the
// timer's ticks where this platform hands them over (they are held in
// between, see TimerTick), focus and the close request as the platform
// sets them. After each call the recorder notes what changed, at the
// call's position, and what KeyPressed, ReadKey and SeedTime gave.
#pragma once

#include <string>

#include "app/platform/forwarding.h"
#include "game/replay.h"

// The file of the visit's game `n` (1 = the first) recorded into `path`:
// `path` itself, then "-n" before the name's extension ("best.rec",
// "best-2.rec"), or after a name without one.
std::string NumberedRecording(const std::string& path, int n);

class RecordingPlatform : public ForwardingPlatform {
  public:
    RecordingPlatform(Platform* real, const std::string& path);
    ~RecordingPlatform() override;

    int KeyPressed() override;
    int ReadKey() override;
    void Rest(unsigned ms) override;
    void AwaitInput(unsigned ms) override;
    long SeedTime() override;
    void GameBegins(std::vector<int>& carried) override;
    void GameFramesOver(const std::string& summary) override;

    int gamesWritten() const { return written_; }

  private:
    unsigned LeftOfWait(unsigned ms);

    // What the game sees of the machine, as the notes keep it.
    struct View {
        int x = 0, y = 0, buttons = 0;
        int keys = 0;  // bits of kReplayKeys
        int focus = 1;
        int quit = 0;
        bool fullscreen = false;
    };
    static View Seen();
    void Note(const Position& at, ReplayKind kind, int a = 0, int b = 0, int c = 0);
    void NoteChanges(const Position& at, const View& now, bool all);
    void Left(const Position& after) override;

    std::string path_;
    bool recording_ = false;
    bool seeded_ = false;
    bool tooLong_ = false;
    int games_ = 0;
    int written_ = 0;
    Replay replay_;
    View last_;
    int ticks_ = 0;  // handed over at the end of this call
    bool pressed_ = false;
    int readKey_ = 0;
};
