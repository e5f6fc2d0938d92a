// Pages around a game: high score board, statistics panel, game over,
// credits and the newspaper that tells the story.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "kit.h"
#include "registry.h"

namespace pal = art::pal;
using art::Canvas;
using art::Colour;

namespace {

constexpr const char* kSerif = fe::kSerif;

// High score board: the table screens print ten rows of about 16 pixels
// at 125 + 18 k, ranks ending at x 73, names from 98, scores ending at
// 253, and "Your Score" centred at row 315.
constexpr int kBoardW = 300;
constexpr int kBoardH = 360;
constexpr int kFirstRowY = 125;
constexpr int kRowStep = 18;

// Statistics panel: heading at 66, rows down to 66 + 11 * 16, labels from
// x 50 and values from x 210.
constexpr int kStatsW = 360;
constexpr int kStatsH = 300;

const Colour kBoardInner = art::Mix(pal::kViolet0, pal::kOutline, 0.5);
const Colour kPaper = art::Mix(pal::kWhite, pal::kBrown3, 0.22);
const Colour kInk = art::Mix(pal::kOutline, pal::kBlack, 0.5);

void Heading(Canvas& c, int px, const std::string& s, int y, const fe::ChunkyStyle& st) {
    Canvas h = fe::ChunkyText(art::kFontSansBold, px, s, st);
    c.Blit(h, (c.w() - h.w()) / 2, y);
}

}  // namespace

ART_MEMBER(highscre, "highscre.bmp") {
    Canvas c(kBoardW, kBoardH);
    fe::BevelPanel(c, 0, 0, kBoardW - 1, kBoardH - 1, 18, 12, pal::kViolet0, pal::kViolet1,
                   pal::kViolet2, kBoardInner);
    fe::ChunkyStyle st;
    st.rimWidth = 3;
    st.depth = 4;
    st.wave = 3;
    Heading(c, 31, "High Scores", 18, st);
    std::string sub = "The finest defenders of the earth";
    c.Text(art::kFontSans, 12, fe::CentreX(art::kFontSans, 12, sub, kBoardW / 2), 82, sub,
           pal::kViolet2);
    // Column captions just above the first row.
    Colour cap = pal::kViolet2;
    c.Text(art::kFontSansBold, 11, 73 - Canvas::TextWidth(art::kFontSansBold, 11, "Rank"), 117,
           "Rank", cap);
    c.Text(art::kFontSansBold, 11, 98, 117, "Name", cap);
    c.Text(art::kFontSansBold, 11, 253 - Canvas::TextWidth(art::kFontSansBold, 11, "Score"), 117,
           "Score", cap);
    // Faint stripes behind the ten rows.
    for (int k = 0; k < 10; k += 2) {
        int y = kFirstRowY - 1 + kRowStep * k;
        fe::Tint(c, 18, y, kBoardW - 19, y + kRowStep - 1, pal::kViolet1, 0.18);
    }
    int sep = kFirstRowY + kRowStep * 10 + 4;
    c.Rect(30, sep, kBoardW - 31, sep, pal::kViolet1);
    // A trophy on each side of the heading, with a handle on either side
    // of its cup and a shine at the upper left.
    Canvas cup(30, 34);
    cup.Ellipse(6, 9, 5, 5, pal::kYellow0);
    cup.Ellipse(6, 9, 2.5, 2.5, art::kMask);
    cup.Ellipse(24, 9, 5, 5, pal::kYellow0);
    cup.Ellipse(24, 9, 2.5, 2.5, art::kMask);
    cup.Polygon({{5, 2}, {25, 2}, {22, 15}, {8, 15}}, pal::kYellow1);
    cup.Ellipse(15, 15, 7, 4, pal::kYellow1);
    cup.Rect(13, 17, 17, 24, pal::kYellow0);
    cup.Rect(8, 25, 22, 29, pal::kYellow0);
    cup.Rect(8, 25, 22, 25, pal::kYellow1);
    cup.Rect(9, 4, 11, 11, pal::kYellow2);
    cup.Outline();
    c.Blit(cup, 16, 26);
    c.Blit(cup, kBoardW - 16 - cup.w(), 26);
    return c;
}

ART_MEMBER(panel, "panel.bmp") {
    Canvas c(kStatsW, kStatsH);
    fe::BevelPanel(c, 0, 0, kStatsW - 1, kStatsH - 1, 20, 14, pal::kViolet0, pal::kViolet1,
                   pal::kViolet2, kBoardInner);
    // Top band: a row of saucer lights on the frame, and a saucer with two
    // little escorts above the heading that the game prints at row 66.
    for (int x = 40; x < kStatsW - 30; x += 22) {
        c.Circle(x + 0.5, 7.5, 3.5, pal::kOutline);
        c.Circle(x + 0.5, 7.5, 2.5, (x / 22) % 2 ? pal::kYellow1 : pal::kYellow2);
    }
    Canvas ship = fe::MakeSaucer(72, true, 13);
    c.Blit(ship, (kStatsW - ship.w()) / 2, 16);
    Canvas escort = fe::MakeSaucer(34, false, 14);
    c.Blit(escort, kStatsW / 2 - 100, 30);
    c.Blit(escort, kStatsW / 2 + 100 - escort.w(), 30);
    // Underline for the heading and guides for the three groups of rows.
    c.Rect(40, 66 + 16 + 6, kStatsW - 41, 66 + 16 + 6, pal::kViolet1);
    struct Group {
        int first, rows;  // text rows of the statistics screen
    };
    for (Group g : {Group{2, 3}, Group{6, 2}, Group{9, 1}, Group{11, 1}}) {
        int y = 66 + 16 * g.first - 2;
        fe::Tint(c, 30, y, kStatsW - 31, y + 16 * g.rows + 3, pal::kViolet1, 0.14);
    }
    return c;
}

// The note over a paused game: "Paused" in the lettering of the other
// panels' headings, and a band at row 84 on which the game prints its hint
// (the game's font, centred) under it.
constexpr int kPauseW = 380;
constexpr int kPauseH = 124;
constexpr int kPauseHintY = 84;

ART_MEMBER(pause, "pause.bmp") {
    Canvas c(kPauseW, kPauseH);
    fe::BevelPanel(c, 0, 0, kPauseW - 1, kPauseH - 1, 18, 12, pal::kViolet0, pal::kViolet1,
                   pal::kViolet2, kBoardInner);
    // Saucer lights along the top of the frame, as on the statistics panel.
    for (int x = 40; x < kPauseW - 30; x += 22) {
        c.Circle(x + 0.5, 7.5, 3.5, pal::kOutline);
        c.Circle(x + 0.5, 7.5, 2.5, (x / 22) % 2 ? pal::kYellow1 : pal::kYellow2);
    }
    fe::ChunkyStyle st;
    st.rimWidth = 3;
    st.depth = 4;
    st.wave = 2;
    Heading(c, 34, "Paused", 16, st);
    fe::Tint(c, 26, kPauseHintY - 3, kPauseW - 27, kPauseHintY + 19, pal::kViolet1, 0.18);
    // A resting saucer at each end of the heading.
    Canvas ship = fe::MakeSaucer(40, false, 15);
    c.Blit(ship, 30, 34);
    c.Blit(ship, kPauseW - 30 - ship.w(), 34);
    return c;
}

ART_MEMBER(gameover, "gameover.bmp") {
    fe::ChunkyStyle st;
    st.top = pal::kOrange;
    st.bottom = pal::kRed1;
    st.extrude = pal::kRed0;
    st.rimWidth = 4;
    st.depth = 8;
    st.wave = 6;
    st.halo = pal::kYellow1;
    st.haloWidth = 4;
    st.fuzzyHalo = true;
    Canvas logo = fe::ChunkyText(art::kFontSansBold, 80, "Game Over", st);
    int w = logo.w() + 190, h = std::max(logo.h(), 170) + 10;
    Canvas c(w, h);
    fe::FluffLook left;
    left.waving = true;
    left.lookX = 0.6;
    left.seed = 21;
    Canvas a = fe::MakeFluffernaut(40, left).FlipH();
    fe::FluffLook right = left;
    right.lookX = -0.6;
    right.dark = pal::kViolet0;
    right.mid = pal::kViolet1;
    right.light = pal::kViolet2;
    right.seed = 22;
    Canvas b = fe::MakeFluffernaut(40, right);
    c.Blit(logo, 95, (h - logo.h()) / 2);
    c.Blit(a, 0, h - a.h());
    c.Blit(b, w - b.w(), h - b.h());
    return c;
}

ART_MEMBER(credits, "credits.bmp") {
    const int w = 520, h = 560;
    Canvas c(w, h);
    fe::BevelPanel(c, 0, 0, w - 1, h - 1, 20, 14, pal::kViolet0, pal::kViolet1, pal::kViolet2,
                   kBoardInner);
    fe::ChunkyStyle st;
    st.rimWidth = 3;
    st.depth = 5;
    st.wave = 4;
    Heading(c, 44, "Credits", 18, st);
    // The same crew in the same roles as the credits in the intro's crawl.
    struct Section {
        const char* role;   // small caption in gold
        const char* names;  // one line each, "\n" between lines
    };
    static const Section kSections[] = {
        {"Idea and Concept", "Professor Pom Fuzzleworth"},
        {"Main Artists", "Penny Pixelpaw & Bartholomew Brushtail"},
        {"Artist in Charge of Antialiasing", "Sir Jaggy Edgeworth"},
        {"Coding", "Ada Loopington"},
        {"Additional Game Design & Mole Timing", "Doris Diggins"},
        {"Catering", "Auntie Crumble & The Midnight Pizza Wagon"},
        {"Beta Testing",
         "Team Trigger Finger, Gus the Office Cat,\nNana Quickdraw, Everyone Who Clicked Too Much"},
    };
    int y = 120;  // the first caption's baseline
    for (const Section& sec : kSections) {
        c.Text(art::kFontSansBold, 13, fe::CentreX(art::kFontSansBold, 13, sec.role, w / 2), y,
               sec.role, pal::kYellow1);
        y += 1;
        std::string names = sec.names;
        for (size_t start = 0; start <= names.size();) {
            size_t end = names.find('\n', start);
            if (end == std::string::npos)
                end = names.size();
            Canvas line = fe::OutlinedText(art::kFontSansBold, 16, names.substr(start, end - start),
                                           pal::kWhite);
            c.Blit(line, (w - line.w()) / 2, y);
            y += 20;
            start = end + 1;
        }
        y += 25;
    }
    std::string foot = "A Fuzzball Studio production, made with Allegro";
    c.Text(art::kFontSans, 13, fe::CentreX(art::kFontSans, 13, foot, w / 2), h - 44, foot,
           pal::kGrey2);
    std::string foot2 = "No Fluffernaut was harmed. They just pop.";
    c.Text(art::kFontSans, 13, fe::CentreX(art::kFontSans, 13, foot2, w / 2), h - 26, foot2,
           pal::kGrey2);
    // Mascots at the lower corners.
    fe::FluffLook look;
    look.lookX = 0.5;
    look.seed = 31;
    Canvas m = fe::MakeFluffernaut(22, look);
    c.Blit(m, 18, h - m.h() - 16);
    look.lookX = -0.5;
    look.dark = pal::kViolet0;
    look.mid = pal::kViolet1;
    look.light = pal::kViolet2;
    look.seed = 32;
    Canvas m2 = fe::MakeFluffernaut(22, look);
    c.Blit(m2, w - m2.w() - 18, h - m2.h() - 16);
    return c;
}

namespace {

// The picture on the front page: a saucer landing over the hills while
// its crew runs out, printed in the paper's brown ink tones.
Canvas NewsPhoto(int w, int h) {
    Canvas p(w, h);
    p.VGradient(0, 0, w - 1, h * 2 / 3, pal::kSky1, pal::kSky3);
    for (int x = 0; x < w; ++x) {
        double hill = h * 0.62 + 10 * std::sin(x * 0.035) + 6 * std::sin(x * 0.09 + 1);
        for (int y = int(hill); y < h; ++y)
            p.Set(x, y,
                  y < hill + 3 ? pal::kGreen3 : (y < hill + 14 ? pal::kGreen2 : pal::kGreen1));
    }
    // The old castle on the far hill.
    Canvas castle(70, 70);
    castle.Rect(10, 30, 60, 69, pal::kGrey1);
    for (int tx : {4, 50}) {
        castle.Rect(tx, 14, tx + 15, 69, pal::kGrey2);
        castle.Polygon({{tx - 2.0, 15}, {tx + 8.0, 0}, {tx + 18.0, 15}}, pal::kRed0);
    }
    for (int bx = 10; bx < 60; bx += 8)
        castle.Rect(bx, 25, bx + 4, 30, pal::kGrey1);
    castle.Rect(30, 48, 39, 69, pal::kGrey0);
    castle.Outline();
    p.Blit(castle, w - 78, int(h * 0.62) - 62);
    // The saucer and its landing beam.
    Canvas ship = fe::MakeSaucer(110, true, 41);
    const int sx = w / 2 - 40, sy = 10;
    for (int y = sy + ship.h() - 10; y < h - 18; ++y) {
        double half = 8 + (y - sy - ship.h()) * 0.32;
        double mid = sx + ship.w() / 2.0;
        for (int x = int(mid - half); x <= int(mid + half); ++x)
            p.Set(x, y, art::Mix(p.Get(x, y), pal::kWhite, 0.6));
    }
    p.Blit(ship, sx, sy);
    fe::FluffLook look;
    for (int i = 0; i < 4; ++i) {
        look.seed = 50 + i;
        look.lookX = i % 2 ? 0.5 : -0.5;
        look.smile = i != 2;
        Canvas f = fe::MakeFluffernaut(12 + (i % 2) * 3, look);
        p.Blit(f, 12 + i * 52 - (i > 1 ? 0 : 4), h - f.h() - 4 - (i % 2) * 6);
    }
    // Print it in duotone, as a newspaper would.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Colour col = p.Get(x, y);
            int lum = (((col >> 16) & 255) * 3 + ((col >> 8) & 255) * 6 + (col & 255)) / 10;
            double t = lum / 255.0;
            Colour ink = t < 0.3
                             ? pal::kBrown0
                             : (t < 0.55 ? pal::kBrown1 : (t < 0.78 ? pal::kBrown2 : pal::kBrown3));
            p.Set(x, y, art::Mix(ink, kPaper, 0.15));
        }
    p.OutlineRect(0, 0, w - 1, h - 1);
    for (int x = 0; x < w; ++x) {
        p.Set(x, 0, kInk);
        p.Set(x, h - 1, kInk);
    }
    for (int y = 0; y < h; ++y) {
        p.Set(0, y, kInk);
        p.Set(w - 1, y, kInk);
    }
    return p;
}

}  // namespace

ART_MEMBER(news, "news.bmp") {
    const int w = 600, h = 540;
    Canvas c(w, h);
    // Paper with a slightly uneven cut edge and a thin dark rim.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int nib = int(art::Noise(x / 7, y / 7, 61) * 3);
            if (x < nib || y < nib || x >= w - nib || y >= h - nib)
                continue;
            double grain = art::Noise(x, y, 62);
            c.Set(x, y, grain > 0.985 ? art::Mix(kPaper, pal::kBrown2, 0.4) : kPaper);
        }
    c.Outline();
    // Masthead.
    std::string mast = "The Earth Gazette";
    c.Text(art::kFontSerifBold, 46, fe::CentreX(art::kFontSerifBold, 46, mast, w / 2), 58, mast,
           kInk);
    c.Rect(16, 70, w - 17, 71, kInk);
    std::string dateLine =
        "Special Edition            Monday Morning            Price: one shiny pebble";
    fe::SlantedText(c, kSerif, 12, fe::CentreX(kSerif, 12, dateLine, w / 2), 85, dateLine, kInk);
    c.Rect(16, 92, w - 17, 92, kInk);
    // Headline, fitted to the page width.
    std::string head = "FLUFFERNAUTS INVADE EARTH!";
    int hp = 50;
    while (Canvas::TextWidth(art::kFontSerifBold, hp, head) > w - 40)
        --hp;
    c.Text(art::kFontSerifBold, hp, fe::CentreX(art::kFontSerifBold, hp, head, w / 2), 100 + hp,
           head, pal::kRed0);
    int y = 112 + hp;
    std::string sub =
        "Fluffy Empire lands saucers on our hills - Player One called to defend the planet";
    for (const std::string& l : fe::Wrap(kSerif, 15, sub, w - 60)) {
        fe::SlantedText(c, kSerif, 15, fe::CentreX(kSerif, 15, l, w / 2), y + 14, l, kInk);
        y += 18;
    }
    y += 8;
    c.Rect(16, y, w - 17, y, kInk);
    int colTop = y + 10;
    // Two columns: photo and caption on top of the left one.
    const int colW = 270, leftX = 20, rightX = w - 20 - colW;
    Canvas photo = NewsPhoto(colW, 160);
    c.BlitPart(photo, 0, 0, leftX, colTop, photo.w(), photo.h(), false);
    std::string caption = "Saucers over the valley at dawn.";
    fe::SlantedText(c, kSerif, 11, leftX, colTop + photo.h() + 13, caption, kInk);
    c.Rect(w / 2, colTop, w / 2, h - 18, art::Mix(kInk, kPaper, 0.6));

    const char* story =
        "Since dawn, silver saucers with violet domes have been landing all over our green "
        "hills. Out of them pour round, pink and very fluffy invaders: the Fluffernauts. "
        "They look cuddly. Do not be fooled.\n"
        "The Fluffernaut Empire wants our planet. Its walkers march through the valley and "
        "cuddle wherever two of them meet, and every cuddle makes the invasion stronger. "
        "Armoured troopers beam down from the sky and open fire, and the towers of the old "
        "castle are already smoking.\n"
        "This morning the World Council called on Player One, the finest shot on earth, to "
        "hold the valley. Armed with a trusty gun and ten shells at a time, Player One must "
        "shoot the invaders, their saucers and everything fluffy before time runs out.\n"
        "Experts advise: aim well, because every miss costs points, and hit fast, because a "
        "run of hits earns a bonus. Reload in time. And keep an eye on the molehills: not "
        "everything that digs is on our side.\n"
        "Earth counts on you, Player One!";
    const int bodyPx = 13, lead = 16;
    std::vector<std::string> lines = fe::Wrap(kSerif, bodyPx, story, colW);
    int ly = colTop + photo.h() + 34, lx = leftX;
    for (const std::string& l : lines) {
        if (l.empty()) {
            ly += 5;  // a little air between paragraphs
            continue;
        }
        if (ly > h - 22) {
            if (lx == rightX)
                break;
            lx = rightX;
            ly = colTop + 12;
        }
        c.Text(kSerif, bodyPx, lx, ly, l, kInk);
        ly += lead;
    }
    return c;
}
