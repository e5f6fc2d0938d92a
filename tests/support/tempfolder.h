// Runs a test inside a fresh folder with an empty data/ in it, so tests that
// write the high score file never touch the build's own.
#pragma once

#include <filesystem>
#include <string>

#include "support/portable.h"

class TempFolder {
  public:
    // Creates the folder ("fluff-NAME-..."; UTF-8) and moves there.
    explicit TempFolder(const char* name = "test")
        : home_(std::filesystem::current_path().generic_u8string()) {
        path_ = MakeTempFolder(name);
        std::filesystem::create_directory(std::filesystem::u8path(path_ + "/data"));
        std::filesystem::current_path(std::filesystem::u8path(path_));
    }
    // Moves back and removes it with everything in it.
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::u8path(home_), ignored);
        std::filesystem::remove_all(std::filesystem::u8path(path_), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& home() const { return home_; }  // where the test started
    const std::string& path() const { return path_; }

  private:
    std::string home_;
    std::string path_;
};
