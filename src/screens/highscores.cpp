#include "screens/highscores.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/loader.h"
#include "app/paths.h"
#include "app/platform.h"
#include "app/system.h"
#include "screens/screens.h"

HighScore highScores[kHighScoreRows] = {};
BITMAP* highScoreImage = nullptr;

namespace {

// A fresh install shows "Foo" ten times, 200 down to 110.
constexpr int kDefaultTopScore = 200;
constexpr int kDefaultScoreStep = 10;
constexpr char kDefaultName[] = "Foo";

// The rows, relative to the board's top-left corner.
constexpr int kFirstRowY = 125;  // top of rank 1
constexpr int kRowStep = 18;     // from one row to the next
constexpr int kRankRightX = 73;  // the rank "n)" ends here
constexpr int kNameGap = 25;     // the name starts this far right of the rank's end
constexpr int kScoreGap = 180;   // the score ends this far right of the rank's end

struct EmbossColours {
    int dark;   // edge above and to the left
    int light;  // edge below and to the right
    int top;    // the text itself
};

EmbossColours OrdinaryColours() {
    return {makecol(15, 15, 15), makecol(175, 175, 175), makecol(255, 255, 255)};
}

// The row that was just entered stands out in warm colours.
EmbossColours NewRowColours() {
    return {makecol(255, 128, 64), makecol(240, 240, 200), makecol(248, 211, 67)};
}

enum EmbossInk { kInkDark, kInkLight, kInkTop };

struct EmbossPass {
    int dx;
    int dy;
    EmbossInk ink;
};

// Drawn in this order: the top pass covers the middle of the edges.
constexpr EmbossPass kEmbossPasses[] = {
    {0, 0, kInkDark},   //
    {1, 0, kInkDark},   //
    {2, 1, kInkLight},  //
    {2, 2, kInkLight},  //
    {1, 1, kInkTop},    //
};

void SetDefaults() {
    for (int k = 0; k < kHighScoreRows; ++k) {
        highScores[k].score = kDefaultTopScore - kDefaultScoreStep * k;
        // Only the name and its terminator: the bytes after it keep what
        // they held.
        std::memcpy(highScores[k].name, kDefaultName, sizeof kDefaultName);
    }
}

// Puts `count` bytes of the file into the table, byte by byte, so a short
// file changes exactly the bytes it covers, even inside a score.
void ApplyFileBytes(const unsigned char* bytes, size_t count) {
    for (size_t i = 0; i < count && i < size_t(kHighScoreFileBytes); ++i) {
        HighScore& row = highScores[i / kRecordFileBytes];
        size_t field = i % kRecordFileBytes;
        if (field < 4) {
            unsigned shift = unsigned(8 * field);  // little-endian
            uint32_t value = uint32_t(row.score);
            value = (value & ~(0xFFu << shift)) | (uint32_t(bytes[i]) << shift);
            row.score = int32_t(value);
        } else {
            row.name[field - 4] = char(bytes[i]);
        }
    }
}

void EncodeTable(unsigned char* out) {
    for (int k = 0; k < kHighScoreRows; ++k) {
        unsigned char* record = out + k * kRecordFileBytes;
        uint32_t value = uint32_t(highScores[k].score);
        for (int b = 0; b < 4; ++b) {
            record[b] = static_cast<unsigned char>(value >> (8 * b));
        }
        std::memcpy(record + 4, highScores[k].name, kNameFileBytes);
    }
}

}  // namespace

void LoadHighScoreImages() {
    if (!highScoreImage)
        highScoreImage = LoadImage("highscre.bmp");
}

std::string HighScorePath() {
    return ScoreFile("hiscore.dat");
}

void LoadHighScores() {
    const std::string path = HighScorePath();
    if (!exists(path.c_str())) {
        // Nothing is written here: the file appears with the first save.
        SetDefaults();
        return;
    }
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        // There but unreadable: the player still gets a sensible table.
        SetDefaults();
        return;
    }
    unsigned char bytes[kHighScoreFileBytes];
    size_t count = std::fread(bytes, 1, sizeof bytes, f);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        SetDefaults();
        return;
    }
    ApplyFileBytes(bytes, count);
}

void SaveHighScores() {
    unsigned char bytes[kHighScoreFileBytes];
    EncodeTable(bytes);
    // The old table is replaced only by a complete new file, so a full disk
    // or a crash halfway through never loses it.
    // An installed copy keeps its table in the player's own folder, which
    // the first save makes.
    MakeFolders(scoreFolder);
    const std::string path = HighScorePath();
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        return;
    }
    bool ok = std::fwrite(bytes, 1, sizeof bytes, f) == sizeof bytes;
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
    }
}

void DrawEmbossed(BITMAP* bmp, FONT* f, TextAlign align, int x, int y, int dark, int light, int top,
                  const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    const int inks[] = {dark, light, top};
    for (const EmbossPass& pass : kEmbossPasses) {
        int px = x + pass.dx;
        int py = y + pass.dy;
        int colour = inks[pass.ink];
        switch (align) {
            case kAlignLeft:
                textout_ex(bmp, f, text, px, py, colour, -1);
                break;
            case kAlignRight:
                textout_right_ex(bmp, f, text, px, py, colour, -1);
                break;
            case kAlignCentre:
                textout_centre_ex(bmp, f, text, px, py, colour, -1);
                break;
        }
    }
}

int HighScoreBoardX() {
    return (kScreenW - highScoreImage->w) / 2;
}

int HighScoreBoardY() {
    return (kScreenH - highScoreImage->h) / 2;
}

void DrawHighScoreBoard() {
    platform->ShowMouse(nullptr);
    clear_bitmap(backBuffer);
    blit(backdrop, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    masked_blit(highScoreImage, backBuffer, 0, 0, HighScoreBoardX(), HighScoreBoardY(),
                highScoreImage->w, highScoreImage->h);
}

void DisplayName(const HighScore& row, char* out) {
    int n = 0;
    // The file's bytes are anyone's: stop at nine, and draw only what the
    // font is sure to have.
    for (; n < kNameFileBytes && row.name[n] != 0; ++n) {
        char c = row.name[n];
        out[n] = c >= ' ' && c <= '~' ? c : '?';
    }
    out[n] = 0;
}

void DrawHighScoreRows(int newRow) {
    EmbossColours ordinary = OrdinaryColours();
    EmbossColours fresh = NewRowColours();
    int x0 = HighScoreBoardX() + kRankRightX;
    for (int k = 0; k < kHighScoreRows; ++k) {
        const EmbossColours& c = k == newRow ? fresh : ordinary;
        int y = HighScoreBoardY() + kFirstRowY + kRowStep * k;
        char name[kNameFileBytes + 1];
        DisplayName(highScores[k], name);
        DrawEmbossed(backBuffer, gameFont, kAlignRight, x0, y, c.dark, c.light, c.top, "%i)",
                     k + 1);
        DrawEmbossed(backBuffer, gameFont, kAlignLeft, x0 + kNameGap, y, c.dark, c.light, c.top,
                     "%s", name);
        DrawEmbossed(backBuffer, gameFont, kAlignRight, x0 + kScoreGap, y, c.dark, c.light, c.top,
                     "%i", int(highScores[k].score));
    }
}

void ShowHighScores() {
    LoadHighScoreImages();
    LoadHighScores();
    DrawHighScoreBoard();
    DrawHighScoreRows(-1);
    platform->ShowMouse(backBuffer);
    WaitForClickOrKey();
}
