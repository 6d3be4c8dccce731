// Replacing a file so that it is either the complete old file or the
// complete new one, whatever happens during the write (crash, kill, full
// disk). Every file the program writes goes through here.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace pelk {

// Writes `size` bytes to `path` atomically: a temporary file is created in
// the same folder, written, synced, given the old file's mode (or
// 0666 & ~umask for a new file), renamed over the target and the folder is
// synced. A symbolic link at `path` is followed and its target replaced.
// Returns true on success. On failure the temporary file is removed, the old
// file is untouched and `errorCode` (when given) receives the errno value.
bool AtomicWriteFile(const std::string& path, const void* data, size_t size,
                     int* errorCode = nullptr);

// The same for content made piece by piece, so that a large file is never
// held in memory whole: `next` is given an empty `chunk` and appends the
// next piece to it; an empty chunk ends the file.
bool AtomicWriteFileChunks(const std::string& path, const std::function<void(std::string& chunk)>& next,
                           int* errorCode = nullptr);

// Test seam: when set, the writer pretends the disk filled up after this
// many bytes had been written (the write then fails with ENOSPC). A
// negative value switches it off.
void AtomicWriteFailAfterForTests(long long bytes);

}  // namespace pelk
