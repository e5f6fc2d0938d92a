#include "world/score.h"

#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/system.h"
#include "game/gamestate.h"

int score = 0;
int timeLeft = kStartTimeLeft;
int life = kStartLife;
int lifeAtFrameStart = kStartLife;
int hudFlashed = 0;
int warningShown = 0;
int warningHeld = kWarningHoldFrames;
int quietFrames = kWarningHoldFrames;

BITMAP* digitImage = nullptr;
BITMAP* scoreImage = nullptr;
BITMAP* bonusImage = nullptr;
BITMAP* lifeImage = nullptr;

List<Popup> popupList;

namespace {

// Which picture of "score.bmp" shows which points; anything else shows 0.
struct ScoreFrame {
    int points;
    int frame;
};
constexpr ScoreFrame kScoreFrames[] = {
    {0, 1},      // a target worth nothing still answers the shot
    {-1000, 2},  // the penalty for a plane
    {1000, 3},  {500, 4}, {300, 5}, {200, 6}, {100, 7}, {50, 8},
};
constexpr int kMaxBonusFrame = 6;

// HUD positions.
constexpr int kScoreX = 87;  // left edge of the last digit
constexpr int kScoreY = 50;
constexpr int kScoreDigits = 5;
constexpr int kTimeX = 72;
constexpr int kTimeY = 75;
constexpr int kTimeDigits = 2;
constexpr int kLifePanelX = 20;
constexpr int kLifePanelY = 520;
constexpr int kLifeX = 52;     // two digits
constexpr int kLifeX100 = 56;  // three digits sit 4 pixels further right
constexpr int kLifeY = 535;
constexpr int kLifeDigits = 2;

// The calm warning's frame round the picture, from the edge inwards; in the
// shared palette, with a lit inner edge so it reads on sky and grass alike.
struct WarningBand {
    int r, g, b;
    int width;  // pixels
};
constexpr WarningBand kWarningBands[] = {
    {0x1E, 0x14, 0x28, 1},  // outline
    {0x8A, 0x1C, 0x1C, 2},  // dark red
    {0xD4, 0x3A, 0x2A, 3},  // red
    {0xF4, 0x8A, 0x2A, 1},  // lit edge
    {0x1E, 0x14, 0x28, 1},  // outline
};
constexpr int BandsWidth() {
    int w = 0;
    for (const WarningBand& b : kWarningBands)
        w += b.width;
    return w;
}
static_assert(BandsWidth() == kWarningFrameWidth, "the frame's bands fill its width");

Popup* AppendPopup(int x, int y, int frame, int frameHeight, BITMAP* image) {
    Popup* p = new Popup();
    p->x = x;
    p->y = y;
    p->step = -2;
    p->endY = y - kPopupRise;
    p->frame = frame;
    p->frameHeight = frameHeight;
    p->image = image;
    popupList.Append(p);
    return p;
}

void LoadInto(BITMAP*& slot, const char* member) {
    if (!slot)
        slot = LoadImage(member);
}

}  // namespace

void LoadScoreImages() {
    LoadInto(digitImage, "digit.bmp");
    LoadInto(scoreImage, "score.bmp");
    LoadInto(bonusImage, "bonus.bmp");
    LoadInto(lifeImage, "life.bmp");
}

int ScorePopupWidth() {
    return scoreImage ? scoreImage->w : 0;
}

int BonusPopupWidth() {
    return bonusImage ? bonusImage->w : 0;
}

void ResetScoreState() {
    score = 0;
    timeLeft = kStartTimeLeft;
    life = kStartLife;
    lifeAtFrameStart = kStartLife;
    hudFlashed = 0;
    warningShown = 0;
    warningHeld = kWarningHoldFrames;
    quietFrames = kWarningHoldFrames;
}

void AddScore(int points, int x, int y) {
    score += points;
    SpawnScorePopup(x, y, points);
}

int ScorePopupFrame(int points) {
    for (const ScoreFrame& f : kScoreFrames)
        if (f.points == points)
            return f.frame;
    return 0;
}

Popup* SpawnScorePopup(int x, int y, int points) {
    return AppendPopup(x, y, ScorePopupFrame(points), kScorePopupFrameH, scoreImage);
}

Popup* SpawnBonusPopup(int x, int y, int level) {
    int frame = level <= 5 ? level : kMaxBonusFrame;
    return AppendPopup(x, y, frame, kBonusPopupFrameH, bonusImage);
}

void DrawPopup(const Popup* popup, BITMAP* target) {
    if (!popup->image)
        return;
    MaskedBlit(popup->image, target, 0, popup->frame * popup->frameHeight, popup->x - cameraX,
               popup->y, popup->image->w, popup->frameHeight);
}

namespace {
bool PopupShown(const Popup* p) {
    int sx = p->x - cameraX;
    return p->image && p->image->w + sx > 0 && sx < kScreenW;
}
}  // namespace

void DrawPopups(BITMAP* target) {
    for (const Popup* p = popupList.head; p; p = p->next)
        if (PopupShown(p))
            DrawPopup(p, target);
}

void UpdatePopups(BITMAP* target) {
    popupList.Walk([target](Popup* p) {
        if (PopupShown(p))
            DrawPopup(p, target);
        p->y += p->step;
        if (p->y < p->endY)
            FreePopup(p);
    });
}

void FreePopup(Popup* popup) {
    popupList.Unlink(popup);
    delete popup;
}

void FreeAllPopups() {
    popupList.FreeAll(FreePopup);
}

void DrawNumber(BITMAP* target, int x, int y, int minDigits, int value) {
    if (!digitImage)
        return;
    int w = digitImage->w / 10;
    int h = digitImage->h;
    int count = 0;
    while (value > 0) {
        MaskedBlit(digitImage, target, (value % 10) * w, 0, x, y, w, h);
        x -= w;
        value /= 10;
        ++count;
    }
    for (; count < minDigits; ++count) {
        MaskedBlit(digitImage, target, 0, 0, x, y, w, h);
        x -= w;
    }
}

void DrawHud(BITMAP* target) {
    DrawNumber(target, kScoreX, kScoreY, kScoreDigits, score);
    DrawNumber(target, kTimeX, kTimeY, kTimeDigits, timeLeft / 100);
    if (lifeImage)
        MaskedBlit(lifeImage, target, 0, 0, kLifePanelX, kLifePanelY, lifeImage->w, lifeImage->h);
    DrawNumber(target, life == 100 ? kLifeX100 : kLifeX, kLifeY, kLifeDigits, life);
}

LifeWarning NextLifeWarning(bool reduceFlashing) {
    bool changed = life != lifeAtFrameStart;
    if (!reduceFlashing) {
        // A change in each of several frames flashes every other frame, so
        // the screen never stays yellow.
        hudFlashed = changed && !hudFlashed;
        return hudFlashed ? kWarningFlash : kWarningNone;
    }
    // The frame stays up while life keeps changing, and neither comes nor
    // goes sooner than kWarningHoldFrames after it last came or went: a
    // steady warning, not a flicker.
    quietFrames = changed ? 0 : quietFrames + 1;
    bool wanted = quietFrames < kWarningHoldFrames;
    if (wanted != (warningShown != 0) && warningHeld >= kWarningHoldFrames) {
        warningShown = wanted;
        warningHeld = 0;
    }
    ++warningHeld;
    return warningShown ? kWarningFrame : kWarningNone;
}

void DrawFlash(BITMAP* target) {
    rectfill(target, 0, 0, kScreenW, kScreenH, makecol(255, 240, 0));
}

void DrawWarningFrame(BITMAP* target) {
    int edge = 0;
    for (const WarningBand& b : kWarningBands) {
        int c = makecol(b.r, b.g, b.b);
        for (int i = 0; i < b.width; ++i, ++edge)
            rect(target, edge, edge, kScreenW - 1 - edge, kScreenH - 1 - edge, c);
    }
}
