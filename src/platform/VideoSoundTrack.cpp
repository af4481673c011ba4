#include "platform/VideoSoundTrack.h"

#include "platform/Mp3Decoder.h"
#include "platform/VideoWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace platform {

namespace {

constexpr AVRational sampleTime{1, Mp3Decoder::sampleRate};
// Stereo AAC at this rate is transparent for the show's music.
constexpr int64_t aacBitRate = 192000;

std::string errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return text;
}

} // namespace

struct VideoSoundTrack::State {
    std::vector<uint8_t> musicData;  // read by `music`
    std::unique_ptr<Mp3Decoder> music;
    int64_t musicStart = 0;  // music sample under the first video frame
    int64_t taken = 0;       // track samples made so far

    AVStream* stream = nullptr;
    AVCodecContext* encoder = nullptr;  // AAC only
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    std::vector<int16_t> pending;  // interleaved, not yet a whole AAC frame
    int64_t sent = 0;              // samples handed to the AAC encoder

    ~State()
    {
        music.reset();
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&encoder);
    }

    bool openMusic(const AudioTrack& audio, std::string& warning);
    bool addPcmStream(AVFormatContext* container);
    bool addAacStream(AVFormatContext* container, std::string& warning);
    // The next `count` track samples, interleaved, into `out`.
    void take(int16_t* out, int64_t count);
    bool send(AVPacket* out, AVRational from, const PacketOut& write, std::string& error);
};

bool VideoSoundTrack::State::openMusic(const AudioTrack& audio, std::string& warning)
{
    std::ifstream file(audio.mp3Path, std::ios::binary);
    if (!file) {
        warning = "cannot read " + audio.mp3Path + "; writing the video without sound";
        return false;
    }
    musicData.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    std::string why;
    music = Mp3Decoder::open(musicData.data(), musicData.size(), why);
    if (!music) {
        warning = "cannot decode " + audio.mp3Path + " (" + why + "); writing the video without sound";
        return false;
    }
    musicStart = std::llround(audio.startSeconds * Mp3Decoder::sampleRate);
    music->seek(std::max<int64_t>(musicStart, 0));
    return true;
}

bool VideoSoundTrack::State::addPcmStream(AVFormatContext* container)
{
    stream = avformat_new_stream(container, nullptr);
    if (!stream)
        return false;
    AVCodecParameters* parameters = stream->codecpar;
    parameters->codec_type = AVMEDIA_TYPE_AUDIO;
    parameters->codec_id = AV_CODEC_ID_PCM_S16LE;
    parameters->format = AV_SAMPLE_FMT_S16;
    parameters->sample_rate = Mp3Decoder::sampleRate;
    av_channel_layout_default(&parameters->ch_layout, Mp3Decoder::channels);
    parameters->bits_per_coded_sample = 16;
    parameters->block_align = Mp3Decoder::channels * 2;
    parameters->bit_rate = int64_t(Mp3Decoder::sampleRate) * parameters->block_align * 8;
    stream->time_base = sampleTime;
    return true;
}

bool VideoSoundTrack::State::addAacStream(AVFormatContext* container, std::string& warning)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("aac");
    encoder = codec ? avcodec_alloc_context3(codec) : nullptr;
    frame = av_frame_alloc();
    if (!encoder || !frame) {
        warning = "no AAC encoder; writing the video without sound";
        return false;
    }
    encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder->sample_rate = Mp3Decoder::sampleRate;
    av_channel_layout_default(&encoder->ch_layout, Mp3Decoder::channels);
    encoder->bit_rate = aacBitRate;
    encoder->time_base = sampleTime;
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int result = avcodec_open2(encoder, codec, nullptr);
    if (result < 0) {
        warning = "cannot open the AAC encoder (" + errorText(result) + "); writing the video without sound";
        return false;
    }
    frame->format = encoder->sample_fmt;
    frame->nb_samples = encoder->frame_size;
    frame->sample_rate = encoder->sample_rate;
    av_channel_layout_copy(&frame->ch_layout, &encoder->ch_layout);
    stream = avformat_new_stream(container, nullptr);
    if (av_frame_get_buffer(frame, 0) < 0 || !stream ||
        avcodec_parameters_from_context(stream->codecpar, encoder) < 0) {
        warning = "cannot add the audio stream; writing the video without sound";
        return false;
    }
    stream->time_base = sampleTime;
    return true;
}

void VideoSoundTrack::State::take(int16_t* out, int64_t count)
{
    std::memset(out, 0, static_cast<size_t>(count) * Mp3Decoder::channels * sizeof(int16_t));
    const int64_t musicSample = musicStart + taken;
    const int64_t silence = std::clamp<int64_t>(-musicSample, 0, count);
    music->read(out + silence * Mp3Decoder::channels, static_cast<size_t>(count - silence));
    taken += count;
}

bool VideoSoundTrack::State::send(AVPacket* out, AVRational from, const PacketOut& write, std::string& error)
{
    out->stream_index = stream->index;
    av_packet_rescale_ts(out, from, stream->time_base);
    const bool written = write(out, error);
    av_packet_unref(out);
    return written;
}

VideoSoundTrack::VideoSoundTrack() : state_(std::make_unique<State>()) {}

VideoSoundTrack::~VideoSoundTrack() = default;

std::unique_ptr<VideoSoundTrack> VideoSoundTrack::open(const AudioTrack& audio, bool aac, AVFormatContext* container,
                                                       std::string& warning)
{
    std::unique_ptr<VideoSoundTrack> track(new VideoSoundTrack());
    State& state = *track->state_;
    state.packet = av_packet_alloc();
    if (!state.packet || !state.openMusic(audio, warning))
        return nullptr;
    if (aac ? !state.addAacStream(container, warning) : !state.addPcmStream(container)) {
        if (warning.empty())
            warning = "cannot add the audio stream; writing the video without sound";
        return nullptr;
    }
    return track;
}

bool VideoSoundTrack::writeUntil(int64_t endSample, const PacketOut& out, std::string& error)
{
    State& state = *state_;
    const int64_t count = endSample - state.taken;
    if (count <= 0)
        return true;
    if (!state.encoder)
        return writePcm(count, out, error);
    const size_t have = state.pending.size();
    state.pending.resize(have + static_cast<size_t>(count) * Mp3Decoder::channels);
    state.take(state.pending.data() + have, count);
    while (state.pending.size() >= static_cast<size_t>(state.encoder->frame_size) * Mp3Decoder::channels)
        if (!encodeAac(false, out, error))
            return false;
    return true;
}

bool VideoSoundTrack::writePcm(int64_t count, const PacketOut& out, std::string& error)
{
    State& state = *state_;
    AVPacket* packet = state.packet;
    if (av_new_packet(packet, static_cast<int>(count * Mp3Decoder::channels * sizeof(int16_t))) < 0) {
        error = "out of memory";
        return false;
    }
    packet->pts = state.taken;
    packet->dts = state.taken;
    packet->duration = count;
    packet->flags |= AV_PKT_FLAG_KEY;
    state.take(reinterpret_cast<int16_t*>(packet->data), count);
    return state.send(packet, sampleTime, out, error);
}

// One AAC frame from the front of the buffer: a whole one, or (`last`) what
// is left.
bool VideoSoundTrack::encodeAac(bool last, const PacketOut& out, std::string& error)
{
    State& state = *state_;
    const size_t frameSamples = static_cast<size_t>(state.encoder->frame_size);
    const size_t samples = std::min(frameSamples, state.pending.size() / Mp3Decoder::channels);
    if (samples == 0 || (!last && samples < frameSamples))
        return true;
    if (av_frame_make_writable(state.frame) < 0) {
        error = "out of memory";
        return false;
    }
    auto* left = reinterpret_cast<float*>(state.frame->data[0]);
    auto* right = reinterpret_cast<float*>(state.frame->data[1]);
    for (size_t i = 0; i < samples; ++i) {
        left[i] = state.pending[2 * i] / 32768.0f;
        right[i] = state.pending[2 * i + 1] / 32768.0f;
    }
    state.pending.erase(state.pending.begin(), state.pending.begin() + static_cast<ptrdiff_t>(samples * 2));
    state.frame->nb_samples = static_cast<int>(samples);
    state.frame->pts = state.sent;
    state.sent += static_cast<int64_t>(samples);
    const int result = avcodec_send_frame(state.encoder, state.frame);
    if (result < 0) {
        error = "cannot encode the sound: " + errorText(result);
        return false;
    }
    return drainAac(out, error);
}

bool VideoSoundTrack::drainAac(const PacketOut& out, std::string& error)
{
    State& state = *state_;
    for (;;) {
        const int result = avcodec_receive_packet(state.encoder, state.packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0) {
            error = "cannot encode the sound: " + errorText(result);
            return false;
        }
        if (!state.send(state.packet, state.encoder->time_base, out, error))
            return false;
    }
}

bool VideoSoundTrack::finish(const PacketOut& out, std::string& error)
{
    State& state = *state_;
    if (!state.encoder)
        return true;
    if (!encodeAac(true, out, error))
        return false;
    const int result = avcodec_send_frame(state.encoder, nullptr);
    if (result < 0 && result != AVERROR_EOF) {
        error = "cannot encode the sound: " + errorText(result);
        return false;
    }
    return drainAac(out, error);
}

} // namespace platform
