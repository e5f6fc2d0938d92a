#include "app/data/loader.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/data/bmpreader.h"
#include "app/data/datacheck.h"
#include "app/data/paths.h"
#include "app/draw/blit.h"
#include "app/platform/os.h"
#include "app/platform/platform.h"

namespace {
// Sample objects stay loaded for the whole run; keeping their wrappers here
// keeps them reachable for leak checkers.
std::vector<DATAFILE*> keptObjects;

// Why `file` of the data folder must not be handed to Allegro, or "".
const std::string& DatafileProblem(const char* file) {
    return CheckedDatafile(DataFile(file)).why;
}

// Ends the program when `file` is damaged, before Allegro reads any of it.
void RequireWholeDatafile(const char* file, const char* member) {
    std::string why = DatafileProblem(file);
    if (!why.empty()) {
        FatalLoad(file, member, why.c_str());
    }
}
}  // namespace

void FatalLoad(const char* file, const char* member, const char* why) {
    std::string path = DataFile(file);
    std::string what =
        member ? std::string("member \"") + member + "\" of \"" + path + "\"" : "\"" + path + "\"";
    std::string text = "Fluffernauts cannot load " + what + ": the file is missing or damaged" +
                       (why ? std::string(" (") + why + ")" : "") + ".\nPlease reinstall the game.";
    if (platform) {
        platform->Message(text.c_str());
    } else {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    EndProgram(1);
}

BITMAP* TryLoadImage(const char* member) {
    RequireWholeDatafile(kGfxFile, member);
    std::string path = DataFile(kGfxFile) + "#" + member;
    return LoadBmpMember(path.c_str());
}

BITMAP* LoadImage(const char* member) {
    BITMAP* bmp = TryLoadImage(member);
    if (!bmp) {
        FatalLoad(kGfxFile, member);
    }
    // Nothing draws on the game's pictures, so their copies may be packed.
    NoteFixedPicture(bmp);
    return bmp;
}

SAMPLE* LoadSample(const char* member) {
    RequireWholeDatafile(kSndFile, member);
    DATAFILE* obj = load_datafile_object(DataFile(kSndFile).c_str(), member);
    if (!obj || obj->type != DAT_SAMPLE || !obj->dat) {
        if (obj) {
            unload_datafile_object(obj);
        }
        FatalLoad(kSndFile, member);
    }
    keptObjects.push_back(obj);
    return static_cast<SAMPLE*>(obj->dat);
}

DATAFILE* LoadDatafile(const char* file) {
    RequireWholeDatafile(file, nullptr);
    DATAFILE* data = load_datafile(DataFile(file).c_str());
    if (!data || data[0].type == DAT_END || !data[0].dat) {
        if (data) {
            unload_datafile(data);
        }
        FatalLoad(file, nullptr);
    }
    return data;
}

SAMPLE* TryLoadSample(const char* member) {
    if (!DatafileProblem(kSndFile).empty()) {
        return nullptr;
    }
    DATAFILE* obj = load_datafile_object(DataFile(kSndFile).c_str(), member);
    if (!obj || obj->type != DAT_SAMPLE || !obj->dat) {
        if (obj) {
            unload_datafile_object(obj);
        }
        return nullptr;
    }
    keptObjects.push_back(obj);
    return static_cast<SAMPLE*>(obj->dat);
}

MIDI* LoadTune(const char* file) {
    std::string path = DataFile(file);
    std::string why = CheckMidiFile(path);
    MIDI* tune = why.empty() ? load_midi(path.c_str()) : nullptr;
    if (!tune) {
        FatalLoad(file, nullptr, why.empty() ? nullptr : why.c_str());
    }
    return tune;
}
