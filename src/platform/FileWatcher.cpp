#include "platform/FileWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

std::unique_ptr<FileWatcher> FileWatcher::open(const std::string& folder, std::string& error)
{
    const int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    if (inotify_add_watch(descriptor, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        error = std::strerror(errno);
        close(descriptor);
        return nullptr;
    }
    return std::unique_ptr<FileWatcher>(new FileWatcher(descriptor));
}

FileWatcher::~FileWatcher() { close(descriptor); }

std::vector<std::string> FileWatcher::changedFiles()
{
    std::vector<std::string> names;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got <= 0)
            return names;  // nothing more waiting (EAGAIN) or the watch failed
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->len == 0)
                continue;
            const std::string name = event->name;
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        }
    }
}

} // namespace platform
