// Where the game's files live. A copy run from its build folder keeps its
// data and its high score table in data/ beside the program; an installed
// copy reads its data from ../share/fluffernauts and keeps the table in the
// player's own data folder, since it may not write where it is installed.
#pragma once

#include <string>
#include <vector>

// The folders in use. Both are "data" (relative to the working folder) until
// main points them at the layout it found; the tests rely on that.
extern std::string dataFolder;   // gfx.dat, snd.dat, font.dat, cm.m, patches.dat
extern std::string scoreFolder;  // hiscore.dat; "": kept in memory for the visit

// dataFolder + "/" + name, and the same for scoreFolder.
std::string DataFile(const char* name);
std::string ScoreFile(const char* name);

struct Layout {
    std::string dataFolder;
    std::string scoreFolder;
    bool installed = false;
};

// Chooses the layout for a program in `exeFolder`: data/ beside it, else
// ../share/fluffernauts from it; the first that holds gfx.dat wins. The
// installed layout keeps scores in $XDG_DATA_HOME/fluffernauts, else
// $HOME/.local/share/fluffernauts (`xdgDataHome` and `home` may be null or
// empty); with neither, its score folder is "": the table is kept in
// memory and nothing is written into the installation. Returns false when
// neither folder holds the data; `tried` then lists the folders looked at.
bool FindLayout(const std::string& exeFolder, const char* xdgDataHome, const char* home,
                Layout& out, std::vector<std::string>& tried);

// The folder the running program lives in ("" when it cannot be told).
std::string ExecutableFolder();

// Makes `folder` and its missing parents (mode 0700 for new ones); true
// when it exists afterwards.
bool MakeFolders(const std::string& folder);
