// The process entry. The game finds its data beside itself (a build folder)
// or where it was installed, so it runs from any working folder.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/paths.h"
#include "app/platform.h"
#include "app/system.h"

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    Layout layout;
    std::vector<std::string> tried;
    if (!FindLayout(ExecutableFolder(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), layout,
                    tried)) {
        std::string where;
        for (const std::string& t : tried) {
            where += (where.empty() ? "" : " or ") + t;
        }
        std::fprintf(stderr,
                     "Fluffernauts cannot find its data (gfx.dat) in %s. Please reinstall the "
                     "game.\n",
                     where.c_str());
        return 1;
    }
    dataFolder = layout.dataFolder;
    scoreFolder = layout.scoreFolder;
    platform = CreateAllegroPlatform();
    return RunProgram();
}
END_OF_MAIN()
