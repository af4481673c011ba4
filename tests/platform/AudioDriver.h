// Chooses SDL's audio driver for one test: "dummy" is a device that takes
// audio in real time without sound hardware; a name SDL does not know makes
// opening the audio fail, as on a machine without sound. Restores the
// previous choice afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace mediatest {

constexpr const char* dummyDevice = "dummy";
constexpr const char* noDevice = "glint-no-such-driver";

class AudioDriver {
public:
    explicit AudioDriver(const char* name)
    {
        if (const char* previous = std::getenv("SDL_AUDIODRIVER"))
            previous_ = previous;
        setenv("SDL_AUDIODRIVER", name, 1);
    }
    ~AudioDriver()
    {
        if (previous_)
            setenv("SDL_AUDIODRIVER", previous_->c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
    }
    AudioDriver(const AudioDriver&) = delete;
    AudioDriver& operator=(const AudioDriver&) = delete;

private:
    std::optional<std::string> previous_;
};

} // namespace mediatest
