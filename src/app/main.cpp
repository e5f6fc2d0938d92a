// The process entry. The game finds its data beside itself (a build folder)
// or where it was installed, so it runs from any working folder.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/data/paths.h"
#include "app/options.h"
#include "app/platform/os.h"
#include "app/platform/platform.h"
#include "app/platform/playback.h"
#include "app/platform/recorder.h"
#include "app/settings.h"
#include "app/system.h"
#include "screens/titlemenu.h"

namespace {

int Run(int argc, char** argv) {
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
    if (!FindLayoutHere(layout, tried)) {
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
    if (scoreFolder.empty()) {
        std::fprintf(stderr,
                     "Fluffernauts: neither HOME nor XDG_DATA_HOME is set; high scores are kept "
                     "only until the game ends.\n");
    }

    const std::string settingsPath = SettingsFileHere();
    std::string warning;
    LoadSettings(settingsPath, settings, warning);
    if (!warning.empty()) {
        std::fprintf(stderr, "%s\n", warning.c_str());
    }
    const Settings kept = settings;
    ApplyOptions(options, settings);

    Platform* real = CreateSdlPlatform();
    // Watching a recording leaves the player's settings alone, whatever
    // display switches it makes.
    if (!options.timedemo.empty()) {
        return RunTimedemo(options.timedemo, real);
    }
    if (!options.playdemo.empty()) {
        return RunPlaydemo(options.playdemo, real);
    }
    std::unique_ptr<RecordingPlatform> recorder;
    if (!options.record.empty()) {
        recorder = std::make_unique<RecordingPlatform>(real, options.record);
    }
    platform = recorder ? recorder.get() : real;
    int status = RunProgram();
    if (settings != kept && !SaveSettings(settingsPath, settings, error)) {
        std::fprintf(stderr, "Fluffernauts: the settings are not kept: %s\n", error.c_str());
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    UseParentConsole();
    std::vector<std::string> args = ProgramArguments(argc, argv);
    std::vector<char*> argp;
    for (std::string& a : args) {
        argp.push_back(&a[0]);
    }
    argp.push_back(nullptr);
    EndProgram(Run(int(args.size()), argp.data()));
}
