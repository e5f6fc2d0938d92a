// After a finished game: the score goes into the table when it beats the
// tenth row, the player types a name into its row, and the table is saved.
#include <allegro.h>

#include <cstdio>
#include <string>

#include "app/data/paths.h"
#include "app/platform/platform.h"
#include "app/system.h"
#include "screens/highscores.h"
#include "screens/screens.h"
#include "world/score.h"

namespace {

constexpr int kMaxNameLength = 8;  // the ninth name byte always stays the terminator

// The "Your Score" line sits 10 pixels below where an eleventh row would
// start, relative to the board's top.
constexpr int kYourScoreY = 315;
constexpr int kYourScoreX = kScreenW / 2;
constexpr int kNotSavedMargin = 10;  // pixels kept free at either side

struct Offset {
    int dx;
    int dy;
};

// A dark outline drawn around the line, in this order, then the gold line
// on top of it.
constexpr Offset kYourScoreOutline[] = {
    {0, 2},   //
    {0, 0},   //
    {-2, 0},  //
    {1, 0},   //
    {-1, 1},  //
};
constexpr Offset kYourScoreGold = {0, 1};

bool IsAsciiLetterOrDigit(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// One key into the name at `cursor`; true when it was Enter. The name ends
// at the cursor after every key, so it never holds more than eight letters.
bool TypeKey(HighScore& row, int& cursor) {
    int k = platform->ReadKey();
    int ch = k & 0xFF;
    int scancode = (k >> 8) & 0xFF;
    bool done = false;
    if (IsAsciiLetterOrDigit(ch)) {
        row.name[cursor] = char(ch);
        ++cursor;
    } else if (scancode == KEY_BACKSPACE || scancode == KEY_DEL) {
        row.name[cursor] = 0;
        --cursor;
    } else if (scancode == KEY_ENTER) {
        done = true;
    }
    cursor = cursor < 0 ? 0 : (cursor > kMaxNameLength ? kMaxNameLength : cursor);
    row.name[cursor] = 0;
    return done;
}

void DrawYourScore() {
    int y = HighScoreBoardY() + kYourScoreY;
    int dark = makecol(15, 15, 15);
    for (const Offset& o : kYourScoreOutline) {
        textprintf_centre_ex(backBuffer, gameFont, kYourScoreX + o.dx, y + o.dy, dark, -1,
                             "Your Score: %i", score);
    }
    textprintf_centre_ex(backBuffer, gameFont, kYourScoreX + kYourScoreGold.dx,
                         y + kYourScoreGold.dy, makecol(248, 211, 67), -1, "Your Score: %i", score);
}

// "Score not saved in FOLDER" in the game's lettering where "Your Score"
// stands; a folder too long for the screen loses its start.
void DrawNotSaved() {
    const std::string lead = "Score not saved in ";
    std::string folder = scoreFolder;
    while (folder.size() > 1 &&
           text_length(gameFont, (lead + folder).c_str()) > kScreenW - 2 * kNotSavedMargin) {
        folder = "..." + folder.substr(folder.size() > 4 ? 4 : 1);
    }
    DrawEmbossed(backBuffer, gameFont, kAlignCentre, kYourScoreX, HighScoreBoardY() + kYourScoreY,
                 makecol(15, 15, 15), makecol(175, 175, 175), makecol(255, 255, 255), "%s%s",
                 lead.c_str(), folder.c_str());
}

// A score that could not be kept: said on stderr, and over the table as it
// stands on disk until the player has read it.
void SayNotSaved(const std::string& why) {
    std::fprintf(stderr, "Fluffernauts: the score is not saved: %s\n", why.c_str());
    if (QuitRequested()) {
        return;
    }
    DrawHighScoreBoard();
    DrawHighScoreRows(-1);
    DrawNotSaved();
    platform->ShowMouse(backBuffer);
    WaitForTick();
    PresentFrame();  // the entry's last frame is on the display until now
    WaitForClickOrKey();
}

}  // namespace

void EnterHighScore() {
    LoadHighScoreImages();
    LoadHighScores();
    int newRow = InsertHighScore(score);
    DrawHighScoreBoard();

    int cursor = 0;
    bool typed = true;  // the rows need drawing
    PointerMark pointer;
    for (;;) {
        WaitForTick();
        // Between keys only the pointer can change what the screen shows.
        bool moved = pointer.Moved();
        if (typed || moved) {
            // The board's picture is drawn afresh over the last one.
            masked_blit(highScoreImage, backBuffer, 0, 0, HighScoreBoardX(), HighScoreBoardY(),
                        highScoreImage->w, highScoreImage->h);
            DrawHighScoreRows(newRow);
            platform->ShowMouse(backBuffer);
            PresentFrame();
            platform->ShowMouse(nullptr);
            typed = false;
        } else {
            PresentSameFrame();
        }
        // Closing the window keeps the name typed so far.
        if (QuitRequested()) {
            break;
        }
        if (newRow < 0) {
            DrawYourScore();
            WaitForClickOrKey();
            break;
        }
        if (platform->KeyPressed()) {
            typed = true;
            if (TypeKey(highScores[newRow], cursor)) {
                break;
            }
        }
    }
    // Into the table as it is on disk by now, not the one on the screen:
    // another copy of the game may have saved a score meanwhile. Also when
    // nothing changed: the file exists after the first game.
    std::string notKept;
    SaveHighScoreEntry(score, newRow >= 0 ? highScores[newRow].name : nullptr, &notKept);
    if (!notKept.empty()) {
        SayNotSaved(notKept);
    }
}
