// Watches one folder for files that were written or moved into it, through
// Linux inotify, without blocking: author mode asks it once a frame. Only
// finished writes count (a file closed after writing, or renamed into the
// folder, as editors save), so a file is not reported half written.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

class FileWatcher {
public:
    // Null with `error` filled when the folder cannot be watched.
    static std::unique_ptr<FileWatcher> open(const std::string& folder, std::string& error);
    ~FileWatcher();
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    // The names (without the folder) of the files changed since the last
    // call, each once, in the order they first changed.
    std::vector<std::string> changedFiles();

private:
    explicit FileWatcher(int descriptor) : descriptor(descriptor) {}
    int descriptor;
};

} // namespace platform
