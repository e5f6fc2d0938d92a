// Lays every painted picture out on PNG sheets for review, one set of
// sheets per family: strips are cut into their frames with a one-pixel
// border around each, and the mask colour shows as a dark checkerboard.
//
// usage: contact_sheet ART_DIR FRAMES_TABLE OUT_DIR
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "canvas.h"
#include "png.h"

namespace fs = std::filesystem;
using art::Canvas;
using art::Colour;

namespace {

constexpr int kSheetW = 1800;     // wider pictures get a sheet of their own width
constexpr int kSheetMaxH = 2400;  // start a new sheet below this
constexpr int kMargin = 12;
constexpr int kLabelH = 16;
constexpr Colour kPaper = 0x2A2A33;
constexpr Colour kBorder = 0x40E0F0;  // frame borders, a colour no sprite uses
constexpr Colour kCheckA = 0x55555F;
constexpr Colour kCheckB = 0x44444C;
constexpr Colour kLabel = 0xE0E0E0;

struct Layout {
    int frames = 1;
    int step = 0;  // frame size in pixels when given as @N
    bool vertical = false;
};

std::map<std::string, Layout> ReadTable(const std::string& path) {
    std::map<std::string, Layout> table;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream ss(line);
        std::string name, frames, dir;
        if (!(ss >> name >> frames >> dir))
            continue;
        Layout l;
        if (frames[0] == '@')
            l.step = std::atoi(frames.c_str() + 1);
        else
            l.frames = std::max(1, std::atoi(frames.c_str()));
        l.vertical = dir == "v";
        table[name] = l;
    }
    return table;
}

uint32_t Le(const std::vector<uint8_t>& b, size_t off, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | b[off + i];
    return v;
}

// Reads the uncompressed BMPs that the painters write: 16-bit 5-6-5
// (BI_BITFIELDS), 24- or 32-bit.
bool ReadBmp(const fs::path& path, Canvas* out) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return false;
    uint32_t data = Le(b, 10, 4);
    int w = int(Le(b, 18, 4)), h = int(int32_t(Le(b, 22, 4)));
    int bpp = int(Le(b, 28, 2));
    uint32_t compression = Le(b, 30, 4);
    bool ok565 = bpp == 16 && compression == 3 && b.size() >= 66 && Le(b, 54, 4) == 0xF800 &&
                 Le(b, 58, 4) == 0x07E0 && Le(b, 62, 4) == 0x001F;
    if (!(ok565 || (compression == 0 && (bpp == 24 || bpp == 32))) || w <= 0 || h == 0)
        return false;
    bool topDown = h < 0;
    h = std::abs(h);
    size_t row = (size_t(w) * (bpp / 8) + 3) & ~size_t(3);
    if (data + row * h > b.size())
        return false;
    *out = Canvas(w, h);
    for (int y = 0; y < h; ++y) {
        size_t off = data + row * size_t(topDown ? y : h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &b[off + size_t(x) * (bpp / 8)];
            Colour c;
            if (bpp == 16) {
                uint32_t v = p[0] | uint32_t(p[1]) << 8;
                c = (Colour(v >> 11) * 255 / 31) << 16 | (Colour(v >> 5 & 63) * 255 / 63) << 8 |
                    Colour(v & 31) * 255 / 31;
            } else {
                c = (Colour(p[2]) << 16) | (Colour(p[1]) << 8) | p[0];
            }
            // Keep the mask exact; Set would nudge nothing else here.
            out->Set(x, y, c);
        }
    }
    return true;
}

// One member drawn as its frames in a row (wrapped to the sheet width),
// each inside a one-pixel border, with a caption above.
Canvas RenderMember(const std::string& name, const Canvas& img, const Layout& l, int maxW) {
    int n = l.frames;
    if (l.step > 0)
        n = std::max(1, (l.vertical ? img.h() : img.w()) / l.step);
    int fw = l.vertical ? img.w() : (l.step > 0 ? l.step : img.w() / n);
    int fh = l.vertical ? (l.step > 0 ? l.step : img.h() / n) : img.h();
    bool exact = (l.vertical ? img.h() : img.w()) == (l.vertical ? fh : fw) * n;
    if (fw <= 0 || fh <= 0) {
        n = 1;
        fw = img.w();
        fh = img.h();
    }
    int perRow = std::max(1, std::min(n, (maxW - 1) / (fw + 1)));
    int rows = (n + perRow - 1) / perRow;
    std::ostringstream cap;
    cap << name << "  " << img.w() << "x" << img.h();
    if (n > 1)
        cap << "  " << n << (l.vertical ? " frames down" : " frames") << " of " << fw << "x" << fh;
    if (!exact)
        cap << "  (NOT a multiple!)";
    int w = std::max(perRow * (fw + 1) + 1, Canvas::TextWidth(art::kFontSans, 11, cap.str()) + 4);
    int h = kLabelH + rows * (fh + 1) + 1;
    Canvas c(w, h, kPaper);
    c.Text(art::kFontSans, 11, 0, 12, cap.str(), exact ? kLabel : 0xFF6040);
    for (int k = 0; k < n; ++k) {
        int ox = (k % perRow) * (fw + 1), oy = kLabelH + (k / perRow) * (fh + 1);
        c.Rect(ox, oy, ox + fw + 1, oy + fh + 1, kBorder);
        int sx = l.vertical ? 0 : k * fw, sy = l.vertical ? k * fh : 0;
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x) {
                Colour p = img.Get(sx + x, sy + y);
                if (p == art::kMask)
                    p = ((x / 8 + y / 8) % 2) ? kCheckA : kCheckB;
                c.Set(ox + 1 + x, oy + 1 + y, p);
            }
    }
    return c;
}

struct Sheet {
    std::vector<std::pair<const Canvas*, std::pair<int, int>>> items;
    int w = kSheetW, h = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ART_DIR FRAMES_TABLE OUT_DIR\n", argv[0]);
        return 2;
    }
    fs::path artDir = argv[1], outDir = argv[3];
    std::map<std::string, Layout> table = ReadTable(argv[2]);
    fs::create_directories(outDir);
    // Sheets of an earlier run may have had other names or counts.
    for (const auto& e : fs::directory_iterator(outDir))
        if (e.path().extension() == ".png")
            fs::remove(e.path());
    std::vector<fs::path> families;
    for (const auto& e : fs::directory_iterator(artDir))
        if (e.is_directory())
            families.push_back(e.path());
    std::sort(families.begin(), families.end());
    int written = 0;
    for (const fs::path& fam : families) {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(fam))
            if (e.path().extension() == ".bmp")
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        std::vector<Canvas> cells;
        for (const fs::path& f : files) {
            Canvas img(1, 1);
            if (!ReadBmp(f, &img)) {
                std::fprintf(stderr, "contact_sheet: skipping %s (not a plain BMP)\n", f.c_str());
                continue;
            }
            std::string name = f.filename().string();
            auto it = table.find(name);
            Layout l = it == table.end() ? Layout() : it->second;
            cells.push_back(
                RenderMember(name, img, l, std::max(kSheetW, img.w() + 2) - 2 * kMargin));
        }
        // Flow the cells into sheets, left to right, top to bottom.
        std::vector<Sheet> sheets(1);
        int x = kMargin, y = kMargin + 20, rowH = 0;
        for (const Canvas& cell : cells) {
            Sheet* s = &sheets.back();
            s->w = std::max(s->w, cell.w() + 2 * kMargin);
            if (x + cell.w() + kMargin > s->w && x > kMargin) {
                x = kMargin;
                y += rowH + kMargin;
                rowH = 0;
            }
            if (y + cell.h() + kMargin > kSheetMaxH && !s->items.empty()) {
                s->h = y;
                sheets.emplace_back();
                s = &sheets.back();
                s->w = std::max(s->w, cell.w() + 2 * kMargin);
                x = kMargin;
                y = kMargin + 20;
                rowH = 0;
            }
            s->items.push_back({&cell, {x, y}});
            x += cell.w() + kMargin;
            rowH = std::max(rowH, cell.h());
            s->h = y + rowH + kMargin;
        }
        for (size_t i = 0; i < sheets.size(); ++i) {
            if (sheets[i].items.empty())
                continue;
            Canvas page(sheets[i].w, sheets[i].h, kPaper);
            std::string title = fam.filename().string() + " (" + std::to_string(i + 1) + "/" +
                                std::to_string(sheets.size()) + ")";
            page.Text(art::kFontSansBold, 14, kMargin, kMargin + 10, title, kLabel);
            for (const auto& it : sheets[i].items)
                page.BlitPart(*it.first, 0, 0, it.second.first, it.second.second, it.first->w(),
                              it.first->h(), false);
            std::string out =
                (outDir / (fam.filename().string() + "_" + std::to_string(i + 1) + ".png"))
                    .string();
            if (!art::WritePng(page, out)) {
                std::fprintf(stderr, "contact_sheet: cannot write %s\n", out.c_str());
                return 1;
            }
            ++written;
        }
    }
    std::printf("contact_sheet: %d sheet(s) in %s\n", written, outDir.c_str());
    return 0;
}
