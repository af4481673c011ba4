#include "sequencer/MusicStream.h"

#include "platform/AudioPlayer.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

MusicStream::MusicStream() = default;
MusicStream::~MusicStream() = default;

bool MusicStream::open(const std::string& path)
{
    // A stream already playing reads from fileData: it goes first.
    stream.reset();
    fileData.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        platform::showMessage(path, "Cannot find file", platform::MessageIcon::Information);
        return false;
    }
    fileData.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());

    std::string error;
    stream = platform::AudioPlayer::open(fileData.data(), fileData.size(), error);
    if (!stream) {
        std::fprintf(stderr, "music: cannot play %s: %s\n", path.c_str(), error.c_str());
        fileData.clear();
        return false;
    }
    return true;
}

void MusicStream::unpause()
{
    if (stream)
        stream->setPaused(false);
}

void MusicStream::pause()
{
    if (stream)
        stream->setPaused(true);
}

bool MusicStream::setPositionMs(int ms)
{
    if (!stream)
        return false;
    stream->seekMs(ms);
    return ms <= stream->lengthMs();
}

float MusicStream::lengthSeconds() const
{
    return stream ? static_cast<float>(stream->lengthMs()) * 0.001f : 0.0f;
}

int MusicStream::rawPositionMs() const { return stream ? static_cast<int>(stream->positionMs()) : 0; }

float MusicStream::positionSeconds()
{
    int raw = rawPositionMs();
    double now = platform::wallClockMs();
    if (raw != lastRawPosition) {
        lastRawPosition = raw;
        lastRawClockMs = now;
    }
    return static_cast<float>((now - lastRawClockMs + raw) * 0.001);
}

bool MusicStream::waitForRawPositionChange(double timeoutMs) const
{
    if (!stream)
        return false;
    const int start = rawPositionMs();
    const double deadline = platform::wallClockMs() + timeoutMs;
    while (rawPositionMs() == start) {
        if (platform::wallClockMs() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
