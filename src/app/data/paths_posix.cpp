// Where the game's files live on Linux and the other Unix desktops: the
// XDG folders of the player's session.
#include <cstdlib>

#include "app/data/paths.h"
#include "app/platform/os.h"
#include "app/settings.h"

bool FindLayoutHere(Layout& out, std::vector<std::string>& tried) {
    return FindLayout(ExecutableFolder(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), out,
                      tried);
}

std::string SettingsFileHere() {
    return SettingsFile(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}
