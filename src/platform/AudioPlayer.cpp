#include "platform/AudioPlayer.h"

#include "platform/Clock.h"
#include "platform/SdlLibrary.h"

#include <SDL.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

// About 46 ms at 44.1 kHz: small enough for a fine position, large enough
// that a busy frame does not starve the device.
constexpr int bufferSamples = 2048;

int64_t msToSamples(int64_t ms) { return ms * Mp3Decoder::sampleRate / 1000; }
int64_t samplesToMs(int64_t samples) { return samples * 1000 / Mp3Decoder::sampleRate; }

// Standard error pointing nowhere for as long as it lives: the sound
// libraries SDL probes print a page of their own errors on a machine without
// a sound card, where the show's one line says all that matters.
class QuietStandardError {
public:
    QuietStandardError() : saved_(dup(STDERR_FILENO))
    {
        const int nowhere = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && nowhere >= 0) {
            std::fflush(stderr);
            dup2(nowhere, STDERR_FILENO);
        }
        if (nowhere >= 0)
            close(nowhere);
    }
    ~QuietStandardError()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_;
};

} // namespace

std::unique_ptr<AudioPlayer> AudioPlayer::open(const uint8_t* data, size_t size, std::string& error)
{
    std::unique_ptr<AudioPlayer> player(new AudioPlayer());
    player->decoder_ = Mp3Decoder::open(data, size, error);
    if (!player->decoder_)
        return nullptr;
    std::string why;
    if (!player->openDevice(why))
        std::fprintf(stderr, "music: no audio device (%s): the music is silent and the clock keeps time\n",
                     why.c_str());
    return player;
}

bool AudioPlayer::openDevice(std::string& why)
{
    QuietStandardError quiet;
    if (!initSdlSubsystem(SDL_INIT_AUDIO)) {
        why = SDL_GetError();
        return false;
    }
    audioInitialised_ = true;
    SDL_AudioSpec wanted{};
    wanted.freq = Mp3Decoder::sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = Mp3Decoder::channels;
    wanted.samples = bufferSamples;
    wanted.callback = &AudioPlayer::fill;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // Rate, format and channels are fixed (SDL converts for the hardware),
    // so the callback always gets the decoder's format; only the buffer
    // size may differ from the one asked for.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device_ == 0) {
        why = SDL_GetError();
        return false;
    }
    stepSamples_ = obtained.samples;
    return true;
}

AudioPlayer::~AudioPlayer()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    if (audioInitialised_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioPlayer::fill(void* userdata, uint8_t* stream, int bytes)
{
    auto* player = static_cast<AudioPlayer*>(userdata);
    const size_t samples = static_cast<size_t>(bytes) / (sizeof(int16_t) * Mp3Decoder::channels);
    size_t decoded = player->decoder_->read(reinterpret_cast<int16_t*>(stream), samples);
    // Past the end the device plays silence and the position keeps counting.
    std::memset(stream + decoded * sizeof(int16_t) * Mp3Decoder::channels, 0,
                (samples - decoded) * sizeof(int16_t) * Mp3Decoder::channels);
    player->consumed_ += static_cast<int64_t>(samples);
}

void AudioPlayer::setPaused(bool paused)
{
    if (paused == paused_)
        return;
    if (device_ != 0) {
        SDL_PauseAudioDevice(device_, paused ? 1 : 0);
    } else if (paused) {
        wallBaseSamples_ = positionSamples();
    } else {
        wallResumeMs_ = wallClockMs();
    }
    paused_ = paused;
}

void AudioPlayer::seekMs(int64_t ms)
{
    int64_t target = std::clamp<int64_t>(msToSamples(ms), 0, decoder_->lengthSamples());
    if (device_ != 0) {
        // The device's thread decodes; hold it off while the decoder moves.
        SDL_LockAudioDevice(device_);
        consumed_ = decoder_->seek(target);
        SDL_UnlockAudioDevice(device_);
    } else {
        wallBaseSamples_ = decoder_->seek(target);
        wallResumeMs_ = wallClockMs();
    }
}

int64_t AudioPlayer::positionSamples() const
{
    if (device_ != 0)
        return consumed_;
    if (paused_)
        return wallBaseSamples_;
    double elapsedSamples = (wallClockMs() - wallResumeMs_) * Mp3Decoder::sampleRate / 1000.0;
    int64_t steps = static_cast<int64_t>(std::floor(elapsedSamples / stepSamples_));
    return wallBaseSamples_ + std::max<int64_t>(steps, 0) * stepSamples_;
}

int64_t AudioPlayer::positionMs() const { return samplesToMs(positionSamples()); }

int64_t AudioPlayer::lengthMs() const { return samplesToMs(decoder_->lengthSamples()); }

} // namespace platform
