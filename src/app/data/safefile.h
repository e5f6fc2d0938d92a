// Files the game writes for the player (its settings, recordings): replaced
// whole, so that a crash, a full disk or a power cut at any moment leaves
// the old file or the new one, never a mix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `bytes` to a temporary file beside `path` ("NAME.new-" and six
// characters), syncs it and renames it over `path`, making the folder when
// it is missing. A file that was there keeps its mode; a new one gets
// 0644. On Windows the write goes through FlushFileBuffers and the
// replace is MoveFileExW's, written through. False with a reason (naming the file) when it cannot;
// `path` is then as it was and the temporary file is gone.
bool ReplaceFileSafely(const std::string& path, const std::string& bytes, std::string& error);

// The whole of a file into `bytes`, refusing one over `limit` bytes. False
// with a reason when it cannot be read (a missing file: `missing` is set).
bool ReadWholeFile(const std::string& path, size_t limit, std::string& bytes, bool& missing,
                   std::string& error);

// The characters ReplaceFileSafely adds after "NAME.new-".
constexpr size_t kTempSuffixLength = 6;

// Removes the temporary files "NAME.new-XXXXXX" of `name` in `folder` that
// a writer left when it died before its rename. Only for a caller holding
// the FileLock that every writer of that file takes.
void RemoveStaleTemps(const std::string& folder, const std::string& name);

// An exclusive lock on the file `path` (made when missing), held while this
// lives; it goes with the process, even one killed outright (flock, or
// LockFileEx). Without a lock file the holder goes on unguarded: where it
// cannot be made, nothing beside it can be written either.
class FileLock {
  public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    intptr_t handle_;
};
