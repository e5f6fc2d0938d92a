// The process entry. The game finds its data beside itself (a build folder)
// or where it was installed, so it runs from any working folder.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/paths.h"
#include "app/platform.h"
#include "app/system.h"
#include "app/timedemo.h"
#include "screens/titlemenu.h"

int main(int argc, char** argv) {
    Options options;
    std::string error;
    switch (ParseOptions(argc, argv, options, error)) {
        case OptionsResult::kHelp:
            std::fputs(kUsage, stdout);
            return 0;
        case OptionsResult::kVersion:
            std::printf("%s\n", kVersionLine);
            return 0;
        case OptionsResult::kError:
            std::fprintf(stderr, "fluffernauts: %s\n%s", error.c_str(), kUsage);
            return 2;
        case OptionsResult::kRun:
            break;
    }

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

    Platform* real = CreateAllegroPlatform(options.fullscreen);
    if (!options.timedemo.empty()) {
        return RunTimedemo(options.timedemo, real);
    }
    platform = real;
    return RunProgram();
}
END_OF_MAIN()
