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

// Windows: the data in data\ beside the program (the zip unpacks into a
// folder that runs from anywhere). The scores stay beside it too, where the
// player can see, keep and carry them with the game, unless the program is
// installed (under Program Files, shared by every user of the machine) or
// that folder cannot be written: then they go to the player's own
// `appData` + "/Fluffernauts" (%APPDATA%\Fluffernauts). An empty `appData`
// leaves them beside the program.
bool FindWindowsLayout(const std::string& exeFolder, bool installed, bool dataWritable,
                       const std::string& appData, Layout& out, std::vector<std::string>& tried);

// The layout of this running program and the file of its kept settings,
// each by its operating system's rule (paths_posix.cpp, paths_win32.cpp).
bool FindLayoutHere(Layout& out, std::vector<std::string>& tried);
std::string SettingsFileHere();

// Makes `folder` and its missing parents (mode 0700 for new ones); true
// when it exists afterwards.
bool MakeFolders(const std::string& folder);
