// Files the game writes for the player (its settings, recordings): replaced
// whole, so that a crash, a full disk or a power cut at any moment leaves
// the old file or the new one, never a mix.
#pragma once

#include <string>

// Writes `bytes` to a temporary file beside `path` ("NAME.new-" and six
// characters), syncs it and renames it over `path`, making the folder when
// it is missing. A file that was there keeps its mode; a new one gets
// 0644. False with a reason (naming the file) when it cannot; `path` is
// then as it was and the temporary file is gone.
bool ReplaceFileSafely(const std::string& path, const std::string& bytes, std::string& error);

// The whole of a file into `bytes`, refusing one over `limit` bytes. False
// with a reason when it cannot be read (a missing file: `missing` is set).
bool ReadWholeFile(const std::string& path, size_t limit, std::string& bytes, bool& missing,
                   std::string& error);
