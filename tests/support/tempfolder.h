// Runs a test inside a fresh folder with an empty data/ in it, so tests that
// write the high score file never touch the build's own.
#pragma once

#include <filesystem>
#include <string>

#include "support/portable.h"

class TempFolder {
  public:
    // Creates the folder and moves there.
    TempFolder() : home_(std::filesystem::current_path().string()) {
        path_ = MakeTempFolder("test");
        std::filesystem::create_directory(path_ + "/data");
        std::filesystem::current_path(path_);
    }
    // Moves back and removes it with everything in it.
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::current_path(home_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& home() const { return home_; }  // where the test started
    const std::string& path() const { return path_; }

  private:
    std::string home_;
    std::string path_;
};
