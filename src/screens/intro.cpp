#include "screens/intro.h"

#include <cstdio>
#include <cstdlib>

#include "actors/anim.h"
#include "actors/flyers.h"
#include "app/data/loader.h"
#include "app/platform/platform.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/system.h"
#include "screens/screens.h"

BITMAP* bazookaImage = nullptr;

// Blank lines keep the crawl's timing: the finale is keyed to the tune, and
// the text must be gone by then.
#define BLANK ""
const char* const introText[] = {
    "<Center>",
    "<0>",
    "Episode I - The Fluffernauts",
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    "There has been a long period of peace",
    "but now the Fluffernaut Empire has",
    "decided to conquer earth",
    BLANK,
    BLANK,
    "<1>",
    "\"Please help us, Player One. You are our only hope\"",
    "<0>",
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,  // 35 blank lines
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    "<LEFT>",
    "    Idea and Concept",
    "                Professor Pom Fuzzleworth",
    BLANK,
    BLANK,
    BLANK,
    "    Main Artists",
    "                Penny Pixelpaw",
    "                Bartholomew Brushtail",
    BLANK,
    BLANK,
    BLANK,
    "    Artist in Charge of Antialiasing",
    "                Sir Jaggy Edgeworth",
    BLANK,
    BLANK,
    BLANK,
    "    Coding",
    "                Ada Loopington",
    BLANK,
    BLANK,
    BLANK,
    "    Additional Game Design & ",
    "    Mole Timing",
    "                Doris Diggins",
    BLANK,
    BLANK,
    BLANK,
    "    Catering",
    "                Auntie Crumble",
    "                The Midnight Pizza Wagon",
    BLANK,
    BLANK,
    BLANK,
    "    Beta Testing",
    "                Team Trigger Finger",
    "                Gus the Office Cat",
    "                Nana Quickdraw",
    "                Everyone Who Clicked Too Much",
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,  // 13 blank lines
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    "<CENTER>",
    "No animals have been harmed during",
    "the development of this game",
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,  // 22 blank lines
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    BLANK,
    "And I still think that",
    "<1>",
    "\"Sir Boomsalot von Burrow\"",
    "<0>",
    "would have been the best name for",
    "that Bazooka Mole...",
    BLANK,
    BLANK,
    BLANK,
    nullptr,
};
#undef BLANK

namespace {

constexpr int kLineHeight = 15;
constexpr int kStars = 20;
constexpr int kStartBeat = 4;
constexpr int kFinaleBeat = 65;  // the bazooka rises after this beat
constexpr int kLastPhase = 25;   // 2..15 rack frames, 16..24 flashes
constexpr int kRackFrames = 15;  // rack0001..rack0014 are shown
constexpr int kRackDx = 142;     // rack frames sit left of and above
constexpr int kRackDy = 82;      // the bazooka, at its muzzle

struct Intro {
    MIDI* tune = nullptr;
    Flyer* ufo = nullptr;
    BITMAP* rack = nullptr;
    int colours[2] = {0, 0};
    int yellow = 0;
    IntroTextStyle style;
    int textY = kScreenH;
    int phase = 0;
    int bazookaY = kScreenH;
};

void DrawCrawl(Intro& in) {
    if (in.textY >= kScreenH) {
        return;
    }
    int lineY = in.textY;
    for (int i = 0; introText[i] && lineY < kScreenH; ++i) {
        const char* line = introText[i];
        if (IsIntroTag(line)) {
            ApplyIntroTag(line, in.style);
            continue;
        }
        int colour = in.colours[in.style.colour];
        if (in.style.centred) {
            textout_centre_ex(backBuffer, gameFont, line, kScreenW / 2, lineY, colour, -1);
        } else {
            textout_ex(backBuffer, gameFont, line, 10, lineY, colour, -1);
        }
        lineY += kLineHeight;
    }
}

void DrawFinale(Intro& in) {
    if (in.phase == 0 && platform->MidiPos() > kFinaleBeat) {
        in.phase = 1;
    }
    if (in.phase == 0) {
        return;
    }
    int bx = (kScreenW - bazookaImage->w) / 2;
    masked_blit(bazookaImage, backBuffer, 0, 0, bx, in.bazookaY, bazookaImage->w, bazookaImage->h);
    if (in.phase == 1) {
        if (in.bazookaY > kScreenH - bazookaImage->h) {
            --in.bazookaY;
        } else {
            in.phase = 2;
        }
        return;
    }
    if (in.rack) {
        destroy_bitmap(in.rack);
        in.rack = nullptr;
    }
    int n = in.phase - 1;
    if (n < kRackFrames) {
        char name[32];
        std::snprintf(name, sizeof(name), "rack%04i.bmp", n);
        // A damaged frame is skipped rather than ending the film.
        in.rack = TryLoadImage(name);
        if (in.rack) {
            masked_blit(in.rack, backBuffer, 0, 0, bx - kRackDx, in.bazookaY - kRackDy, in.rack->w,
                        in.rack->h);
        }
    } else if (in.phase % 2 == 1 || (settings.reduceFlashing && in.phase > kRackFrames + 1)) {
        // Yellow in every other frame, or from the first flash to the end
        // for a player who asked for fewer flashes.
        rectfill(backBuffer, 0, 0, kScreenW, kScreenH, in.yellow);
    }
    ++in.phase;
}

void Start(Intro& in) {
    in.tune = LoadTune("cm.m");
    in.colours[0] = makecol(37, 97, 255);
    in.colours[1] = makecol(255, 255, 0);
    in.yellow = in.colours[1];
    int grey = makecol(128, 128, 128);
    LoadBazookaImage();

    clear_bitmap(scratchBuffer);
    for (int i = 0; i < kStars; ++i) {
        int y = Random() % kScreenH;
        int x = Random() % kScreenW;
        putpixel(scratchBuffer, x, y, grey);
    }
    blit(scratchBuffer, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);

    in.ufo = CreateUfo(nullptr);
    in.ufo->x = (kScreenW - in.ufo->frameWidth) / 2;
    in.ufo->y = kScreenH;
    in.ufo->dx = 0;
    in.ufo->dy = -4;

    platform->PlayMidi(in.tune, 0);
    platform->MidiSeek(kStartBeat);
}

// Returns false when the film is over.
bool Frame(Intro& in) {
    BeginPacedFrame();
    blit(scratchBuffer, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    int beat = platform->MidiPos();
    if (beat > 5 && beat < 16) {
        in.ufo->y += in.ufo->dy;
    }
    DrawCrawl(in);
    in.textY -= 2;
    DrawFinale(in);
    bool running = platform->MidiPos() >= 0 && in.phase < kLastPhase;
    DrawAnimFrame(in.ufo, backBuffer, in.ufo->x, in.ufo->y);
    in.ufo->frame = (in.ufo->frame + 1) % in.ufo->frameCount;
    PaceFrame();
    platform->ShowMouse(backBuffer);
    PresentFrame();
    platform->ShowMouse(nullptr);
    return running;
}

void End(Intro& in) {
    if (in.rack) {
        destroy_bitmap(in.rack);
    }
    platform->StopMidi();
    if (in.tune) {
        destroy_midi(in.tune);
    }
    delete in.ufo;
}

}  // namespace

bool IsIntroTag(const char* line) {
    return line[0] == '<';
}

void ApplyIntroTag(const char* tag, IntroTextStyle& style) {
    switch (tag[1]) {
        case '0':
            style.colour = 0;
            break;
        case '1':
            style.colour = 1;
            break;
        case 'C':
            style.centred = true;
            break;
        case 'L':
            style.centred = false;
            break;
        default:
            break;  // unknown tags do nothing
    }
}

BITMAP* LoadBazookaImage() {
    if (!bazookaImage) {
        bazookaImage = LoadImage("bazooka.bmp");
    }
    return bazookaImage;
}

void PlayIntro() {
    Intro in;
    Start(in);
    // A key already waiting ends the film before its first frame; it stays
    // in the buffer for the menu, as does the key that ends it later.
    if (!platform->KeyPressed()) {
        while (Frame(in) && !platform->KeyPressed() && !QuitRequested()) {
        }
    }
    End(in);
}
