// The pictures that rise over the scene after a hit: points won or lost,
// and the bonus banners for a run of hits and the plane bonus.
#include <algorithm>
#include <string>
#include <vector>

#include "hud_draw.h"
#include "registry.h"

using namespace art;

namespace {

// Vertical strips: the game picks frame k at rows k * height.
constexpr int kScoreW = 112;
constexpr int kScoreH = 35;
constexpr int kBonusW = 300;
constexpr int kBonusH = 36;

constexpr hud::Ramp kGold = {pal::kYellow2, pal::kYellow1, pal::kOrange};
constexpr hud::Ramp kYellow = {pal::kYellow2, pal::kYellow1, pal::kYellow0};
constexpr hud::Ramp kPale = {pal::kWhite, pal::kYellow2, pal::kYellow1};
constexpr hud::Ramp kSilver = {pal::kWhite, pal::kGrey3, pal::kGrey2};
constexpr hud::Ramp kRed = {0xF47A6A, pal::kRed1, pal::kRed0};

struct ScoreFrame {
    const char* text;  // nullptr: the generic star
    hud::Ramp ramp;
    int sparkles;  // little stars around the number
};

// In the order of the game's pop-up table: anything else, 0, -1000, 1000,
// 500, 300, 200, 100, 50.
const ScoreFrame kScoreFrames[] = {
    {nullptr, kGold, 0}, {"0", kSilver, 0}, {"-1000", kRed, 0},
    {"1000", kGold, 2},  {"500", kGold, 1}, {"300", kYellow, 0},
    {"200", kYellow, 0}, {"100", kPale, 0}, {"50", kPale, 0},
};

struct BonusFrame {
    const char* text;
    hud::Ramp ramp;
};

// Level 0: the second plane shot (30 seconds more); levels 1..6: every fifth
// hit of a run (level 6 stands for thirty hits and more).
const BonusFrame kBonusFrames[] = {
    {"+30 SECONDS!", {pal::kWhite, pal::kGreen3, pal::kGreen2}},
    {"5 IN A ROW!", {pal::kGreen3, pal::kGreen2, pal::kGreen1}},
    {"10 IN A ROW!", {pal::kWhite, pal::kSky3, pal::kSky2}},
    {"15 IN A ROW!", {0xD0B8F8, pal::kViolet2, pal::kViolet1}},
    {"20 IN A ROW!", {pal::kPink3, pal::kPink2, pal::kPink1}},
    {"25 IN A ROW!", {pal::kYellow2, pal::kOrange, pal::kRed1}},
    {"30+ IN A ROW!", kGold},
};

void Sparkle(Canvas& c, double cx, double cy, double r) {
    hud::Star(c, cx, cy, r + 1.5, r * 0.45 + 1, 0, pal::kOutline);
    hud::Star(c, cx, cy, r, r * 0.45, 0, pal::kYellow1);
    c.Set(int(cx), int(cy), pal::kWhite);
}

Canvas ScoreFramePicture(const ScoreFrame& f, double squeeze) {
    Canvas c(kScoreW, kScoreH);
    if (!f.text) {
        // A plus and a big gold star: points of a kind with no number.
        hud::Ink plus = hud::TextInk(kFontSansBold, 30, "+");
        int starR = 15;
        int total = plus.w + 4 + 2 * starR;
        int x = (kScoreW - total) / 2;
        hud::PaintLettering(c, plus, x, (kScoreH - plus.h) / 2, f.ramp);
        double cx = x + plus.w + 4 + starR, cy = kScoreH / 2.0;
        hud::Star(c, cx, cy + 1, starR, starR * 0.45, 0, pal::kOrange);
        hud::Star(c, cx - 1, cy, starR - 1.5, starR * 0.42, 0, pal::kYellow1);
        hud::Star(c, cx - 2, cy - 1, starR * 0.45, starR * 0.2, 0, pal::kYellow2);
        hud::OutlineWithShadow(c, 0, 0, kScoreW - 1, kScoreH - 1);
        return c;
    }
    hud::Ink ink = hud::TextInk(kFontSansBold, 32, f.text, squeeze);
    int x = (kScoreW - 2 - ink.w) / 2, y = (kScoreH - 2 - ink.h) / 2 + 1;
    hud::PaintLettering(c, ink, x, y, f.ramp);
    if (f.sparkles > 0)
        Sparkle(c, x + ink.w + 2, y + 3, 4.5);
    if (f.sparkles > 1)
        Sparkle(c, x - 3, y + ink.h - 4, 3.5);
    return c;
}

}  // namespace

ART_MEMBER(score, "score.bmp") {
    // One squeeze for all frames so that equal digits look alike.
    int widest = 0;
    for (const ScoreFrame& f : kScoreFrames)
        if (f.text)
            widest = std::max(widest, hud::TextInk(kFontSansBold, 32, f.text).w);
    double squeeze = std::min(1.0, double(kScoreW - 12) / widest);
    const int n = int(sizeof kScoreFrames / sizeof kScoreFrames[0]);
    Canvas c(kScoreW, kScoreH * n);
    for (int k = 0; k < n; ++k)
        c.Blit(ScoreFramePicture(kScoreFrames[k], squeeze), 0, k * kScoreH);
    return c;
}

ART_MEMBER(bonus, "bonus.bmp") {
    int widest = 0;
    for (const BonusFrame& f : kBonusFrames)
        widest = std::max(widest, hud::TextInk(kFontSansBold, 28, f.text).w);
    // Room at both ends for the sparkles.
    double squeeze = std::min(1.0, double(kBonusW - 40) / widest);
    const int n = int(sizeof kBonusFrames / sizeof kBonusFrames[0]);
    Canvas c(kBonusW, kBonusH * n);
    for (int k = 0; k < n; ++k) {
        Canvas f(kBonusW, kBonusH);
        hud::Ink ink = hud::TextInk(kFontSansBold, 28, kBonusFrames[k].text, squeeze);
        int x = (kBonusW - 2 - ink.w) / 2, y = (kBonusH - 2 - ink.h) / 2 + 1;
        hud::PaintLettering(f, ink, x, y, kBonusFrames[k].ramp);
        if (k > 0) {
            // Bigger runs, bigger sparkles.
            double r = 4.0 + k * 0.6;
            Sparkle(f, x - 10, kBonusH / 2.0, r);
            Sparkle(f, x + ink.w + 11, kBonusH / 2.0, r);
        }
        c.Blit(f, 0, k * kBonusH);
    }
    return c;
}
