// The ten best scores: the table in memory, its file, the embossed text of
// the score boards, and the table screen.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>

// One row of the table. Only name bytes 0..8 come from the file; bytes
// 9..11 are never written, so a name is terminated even when its nine file
// bytes hold no zero.
struct HighScore {
    int32_t score;
    char name[12];
};

constexpr int kHighScoreRows = 10;
constexpr int kNameFileBytes = 9;
constexpr int kRecordFileBytes = 4 + kNameFileBytes;
constexpr int kHighScoreFileBytes = kHighScoreRows * kRecordFileBytes;  // 130
// "hiscore.dat" in the score folder (app/paths.h).
std::string HighScorePath();

extern HighScore highScores[kHighScoreRows];  // best first

// The score board picture shared by the table and the entry screen.
extern BITMAP* highScoreImage;
void LoadHighScoreImages();

// From the file, or the defaults ("Foo", 200 down to 110) when there is no
// readable file. A short file changes only the bytes it covers.
void LoadHighScores();
// Writes the table; false when it cannot, the old file then left intact.
bool SaveHighScores();
// Puts `newScore` into the table below the scores that are not lower, with
// an empty name; the old tenth row is lost. Returns the row, or -1 when the
// score does not beat the tenth.
int InsertHighScore(int32_t newScore);
// One finished entry: under the table's lock, the table is read from disk
// as it is now (another copy of the game may have saved since), `newScore`
// goes in with `name` (its first 8 characters) when it still qualifies, and
// the result is saved. `name` null: nothing goes in. Either way the file
// exists afterwards. `highScores` is left holding the saved table. Returns
// the row taken, or -1. When the score would have gone in but cannot be
// kept (the table cannot be read or written), -1, `highScores` holds the
// table as it is on disk, and `notKept` (when given) says why.
// With no score folder (app/paths.h) the table is kept in memory instead.
int SaveHighScoreEntry(int32_t newScore, const char* name, std::string* notKept = nullptr);

enum TextAlign {
    kAlignLeft,    // starts at x
    kAlignRight,   // ends at x
    kAlignCentre,  // centred on x
};

// Text in the top colour with a dark edge above-left and a light edge
// below-right: the same text drawn five times.
void DrawEmbossed(BITMAP* bmp, FONT* f, TextAlign align, int x, int y, int dark, int light, int top,
                  const char* format, ...) __attribute__((format(printf, 9, 10)));

// Where the score board sits on the screen: centred.
int HighScoreBoardX();
int HighScoreBoardY();
// Pointer hidden, backdrop and the score board into backBuffer.
void DrawHighScoreBoard();
// The ten rows over the board; `newRow` (or -1) in the new-entry colours.
void DrawHighScoreRows(int newRow);
// The name of a row as it may be drawn: up to nine printable characters,
// anything else in the file shown as '?'. `out` holds at least 10 bytes.
void DisplayName(const HighScore& row, char* out);

void ShowHighScores();
