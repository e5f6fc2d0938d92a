// Checks of the data files' layout, made before Allegro reads them. Allegro's
// readers trust every count and size they find: a cut or scribbled file can
// make them read past what they allocated, free twice, or hand back a font
// whose glyphs are missing, which crashes only later, at the first text.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// Where each member of a datafile's top level starts, by its name in lower
// case (Allegro compares names ignoring case): the offset of its chunk,
// counted after the file's magic, where pack_fopen leaves a packfile.
using MemberOffsets = std::map<std::string, int64_t>;  // 64 bits on every system

// "" when `path` is an uncompressed Allegro datafile whose objects add up to
// the file exactly and whose fonts, samples, tunes and BMP members are whole;
// otherwise a short reason, naming the object. A packed member is unpacked
// (never to more than the largest member of the game's data) and checked as
// it comes out; a BMP member must be a picture of the game's own form
// (16-bit 5-6-5, no larger than the game's largest). Nothing is allocated
// from a size in the file before that size is checked against the bytes
// that are there.
std::string CheckDatafile(const std::string& path, MemberOffsets* members = nullptr);

struct DatafileCheck {
    std::string why;        // as CheckDatafile says
    MemberOffsets members;  // filled when `why` is ""
};
// CheckDatafile of the file as it is on disk now. The game asks about its
// picture file hundreds of times; it is walked again only when the file on
// disk is another one.
const DatafileCheck& CheckedDatafile(const std::string& path);

// The same for a standard MIDI file: header, tracks and every event inside
// its track, each track closed by its end-of-track event.
std::string CheckMidiFile(const std::string& path);
