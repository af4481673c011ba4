#include "platform/VideoWriter.h"

#include "platform/Mp3Decoder.h"
#include "platform/StopSignal.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct CodecChoice {
    const char* name;
    AVPixelFormat pixelFormat;
    bool keepBottomUp;  // stored as read back; the header marks it bottom-up
};

// 4:2:2 at full range keeps thin coloured lines sharper than 4:2:0, and is
// what MJPEG players commonly expect.
const CodecChoice codecChoices[] = {
    {"mjpeg", AV_PIX_FMT_YUV422P, false},
    {"ffv1", AV_PIX_FMT_BGR0, false},
    {"rawvideo", AV_PIX_FMT_BGRA, true},
};

const CodecChoice* findChoice(const std::string& name)
{
    for (const CodecChoice& choice : codecChoices)
        if (name == choice.name && avcodec_find_encoder_by_name(choice.name))
            return &choice;
    return nullptr;
}

// mjpeg's fixed quantiser scale: 2 is near the best it can do.
constexpr int mjpegQuality = 2;

// Room kept on the disk beyond the file's end: the next packet, its chunk
// header and the RIFF lists around it, and the index the trailer writes
// (16 bytes for every packet).
constexpr int64_t roomSlack = 64 * 1024;
constexpr int64_t indexBytesPerPacket = 16;

std::string errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return text;
}

void quietLibraries()
{
    // FFmpeg's notes would otherwise interleave with the show's progress line.
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

} // namespace

std::vector<std::string> videoCodecNames()
{
    std::vector<std::string> names;
    for (const CodecChoice& choice : codecChoices)
        if (avcodec_find_encoder_by_name(choice.name))
            names.push_back(choice.name);
    return names;
}

bool isVideoCodecName(const std::string& name) { return findChoice(name) != nullptr; }

struct VideoWriter::State {
    AVFormatContext* container = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* converter = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    const CodecChoice* choice = nullptr;
    int width = 0;
    int height = 0;
    int framesPerSecond = 0;

    // The file opened a second time, to reserve room on the disk ahead of
    // the writes; -1 where the file system cannot reserve.
    int roomFd = -1;
    int64_t packets = 0;  // written, both streams

    std::vector<uint8_t> musicData;  // read by `music`
    std::unique_ptr<Mp3Decoder> music;
    int64_t musicStart = 0;    // music sample under the first video frame
    int64_t audioWritten = 0;  // samples in the audio track so far

    ~State()
    {
        if (roomFd >= 0)
            close(roomFd);
        music.reset();
        sws_freeContext(converter);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&encoder);
        if (container) {
            if (container->pb)
                avio_closep(&container->pb);
            avformat_free_context(container);
        }
    }

    bool openEncoder(const VideoFormat& format, std::string& error);
    bool openMusic(const AudioTrack& audio, std::string& warning);
    void addAudioStream();
    bool writePacket(AVPacket* out, AVRational from, AVStream* stream, std::string& error);
    bool reserveRoom(int64_t packetBytes, std::string& error);
    void releaseRoom();
};

bool VideoWriter::State::openEncoder(const VideoFormat& format, std::string& error)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(choice->name);
    encoder = avcodec_alloc_context3(codec);
    frame = av_frame_alloc();
    packet = av_packet_alloc();
    if (!encoder || !frame || !packet) {
        error = "out of memory";
        return false;
    }
    encoder->width = format.width;
    encoder->height = format.height;
    encoder->pix_fmt = choice->pixelFormat;
    encoder->time_base = AVRational{1, format.framesPerSecond};
    encoder->framerate = AVRational{format.framesPerSecond, 1};
    if (codec->id == AV_CODEC_ID_MJPEG) {
        encoder->color_range = AVCOL_RANGE_JPEG;
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = FF_QP2LAMBDA * mjpegQuality;
    }
    int result = avcodec_open2(encoder, codec, nullptr);
    if (result < 0) {
        error = std::string("cannot open the ") + choice->name + " encoder: " + errorText(result);
        return false;
    }

    frame->format = encoder->pix_fmt;
    frame->width = encoder->width;
    frame->height = encoder->height;
    frame->color_range = encoder->color_range;
    if (av_frame_get_buffer(frame, 0) < 0) {
        error = "out of memory";
        return false;
    }
    converter = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, encoder->pix_fmt,
                               SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!converter) {
        error = "cannot convert BGRA pictures for the encoder";
        return false;
    }
    // Full-range output for JPEG; for RGB targets this is a plain copy.
    const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(converter, coefficients, 1, coefficients,
                             encoder->color_range == AVCOL_RANGE_JPEG ? 1 : 0, 0, 1 << 16, 1 << 16);

    videoStream = avformat_new_stream(container, nullptr);
    if (!videoStream || avcodec_parameters_from_context(videoStream->codecpar, encoder) < 0) {
        error = "cannot add the video stream";
        return false;
    }
    videoStream->time_base = encoder->time_base;
    videoStream->avg_frame_rate = encoder->framerate;
    return true;
}

bool VideoWriter::State::openMusic(const AudioTrack& audio, std::string& warning)
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

void VideoWriter::State::addAudioStream()
{
    audioStream = avformat_new_stream(container, nullptr);
    if (!audioStream) {
        music.reset();
        return;
    }
    AVCodecParameters* parameters = audioStream->codecpar;
    parameters->codec_type = AVMEDIA_TYPE_AUDIO;
    parameters->codec_id = AV_CODEC_ID_PCM_S16LE;
    parameters->format = AV_SAMPLE_FMT_S16;
    parameters->sample_rate = Mp3Decoder::sampleRate;
    av_channel_layout_default(&parameters->ch_layout, Mp3Decoder::channels);
    parameters->bits_per_coded_sample = 16;
    parameters->block_align = Mp3Decoder::channels * 2;
    parameters->bit_rate = int64_t(Mp3Decoder::sampleRate) * parameters->block_align * 8;
    audioStream->time_base = AVRational{1, Mp3Decoder::sampleRate};
}

// Packets are written as they come, video then the audio under it, so
// nothing waits in an interleaving queue: what the room was reserved for is
// exactly what the next write adds.
bool VideoWriter::State::writePacket(AVPacket* out, AVRational from, AVStream* stream, std::string& error)
{
    if (!reserveRoom(out->size, error))
        return false;
    out->stream_index = stream->index;
    av_packet_rescale_ts(out, from, stream->time_base);
    int result = av_write_frame(container, out);
    if (result < 0) {
        error = errorText(result);
        return false;
    }
    ++packets;
    return true;
}

// A full disk is found here, before the write that would fail: a write that
// fails leaves FFmpeg's output broken for good, with no way to add the
// index; stopping here leaves the index its room.
bool VideoWriter::State::reserveRoom(int64_t packetBytes, std::string& error)
{
    if (roomFd < 0)
        return true;
    const int64_t end = avio_tell(container->pb);
    const int64_t room = packetBytes + roomSlack + indexBytesPerPacket * (packets + 1);
    int result;
    do
        result = fallocate(roomFd, FALLOC_FL_KEEP_SIZE, end, room);
    while (result != 0 && errno == EINTR);
    if (result == 0)
        return true;
    if (errno == EOPNOTSUPP || errno == ENOSYS) {
        close(roomFd);   // writes find out for themselves
        roomFd = -1;
        return true;
    }
    error = std::strerror(errno);
    return false;
}

// Gives back the room reserved beyond the completed file's end: cutting a
// file to its own length frees what lies past it.
void VideoWriter::State::releaseRoom()
{
    if (roomFd < 0)
        return;
    struct stat status {};
    if (fstat(roomFd, &status) == 0 && ftruncate(roomFd, status.st_size) != 0)
        std::fprintf(stderr, "capture: the room kept beyond the file's end stays taken: %s\n", std::strerror(errno));
    close(roomFd);
    roomFd = -1;
}

VideoWriter::VideoWriter() : state_(std::make_unique<State>()) {}

VideoWriter::~VideoWriter() { finish(); }

std::unique_ptr<VideoWriter> VideoWriter::open(const std::string& path, const VideoFormat& format,
                                               const AudioTrack& audio, std::string& error, std::string& warning)
{
    quietLibraries();
    if (format.width <= 0 || format.height <= 0 || format.framesPerSecond <= 0) {
        error = "bad picture size or frame rate";
        return nullptr;
    }
    std::unique_ptr<VideoWriter> writer(new VideoWriter());
    State& state = *writer->state_;
    state.choice = findChoice(format.codec);
    if (!state.choice) {
        error = "unknown codec " + format.codec;
        return nullptr;
    }
    state.width = format.width;
    state.height = format.height;
    state.framesPerSecond = format.framesPerSecond;

    int result = avformat_alloc_output_context2(&state.container, nullptr, "avi", path.c_str());
    if (result < 0) {
        error = errorText(result);
        return nullptr;
    }
    if (!state.openEncoder(format, error))
        return nullptr;
    if (!audio.mp3Path.empty() && state.openMusic(audio, warning))
        state.addAudioStream();

    result = avio_open(&state.container->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (result < 0) {
        error = "cannot create " + path + ": " + errorText(result);
        return nullptr;
    }
    state.roomFd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    AVDictionary* options = nullptr;
    if (state.choice->keepBottomUp)
        av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    result = avformat_write_header(state.container, &options);
    av_dict_free(&options);
    if (result < 0) {
        error = "cannot write the file header: " + errorText(result);
        return nullptr;
    }
    writer->open_ = true;
    return writer;
}

bool VideoWriter::hasAudio() const { return state_->audioStream != nullptr; }

bool VideoWriter::writeFrame(const uint8_t* pixels)
{
    if (!open_ || failed_ || !pixels)
        return false;
    State& state = *state_;
    if (av_frame_make_writable(state.frame) < 0)
        return fail("out of memory");

    // OpenGL reads rows bottom-up; walking them with a negative stride
    // turns the picture upright while converting it.
    const int stride = state.width * 4;
    const uint8_t* source = pixels;
    int sourceStride = stride;
    if (!state.choice->keepBottomUp) {
        source = pixels + static_cast<ptrdiff_t>(state.height - 1) * stride;
        sourceStride = -stride;
    }
    sws_scale(state.converter, &source, &sourceStride, 0, state.height, state.frame->data, state.frame->linesize);
    state.frame->pts = framesWritten_;
    state.frame->quality = state.encoder->global_quality;

    int result = avcodec_send_frame(state.encoder, state.frame);
    if (result < 0)
        return fail("cannot encode a frame: " + errorText(result));
    if (!encode(false))
        return false;
    ++framesWritten_;
    // The audio that plays while this frame is shown, to its last sample.
    return writeAudioUntil(framesWritten_ * Mp3Decoder::sampleRate / state.framesPerSecond);
}

bool VideoWriter::encode(bool flush)
{
    State& state = *state_;
    for (;;) {
        int result = avcodec_receive_packet(state.encoder, state.packet);
        if (result == AVERROR(EAGAIN) || (flush && result == AVERROR_EOF))
            return true;
        if (result < 0)
            return fail("cannot encode a frame: " + errorText(result));
        std::string error;
        if (!state.writePacket(state.packet, state.encoder->time_base, state.videoStream, error))
            return fail("cannot write a video frame: " + error);
    }
}

bool VideoWriter::writeAudioUntil(int64_t endSample)
{
    State& state = *state_;
    if (!state.audioStream || endSample <= state.audioWritten)
        return true;
    const int64_t count = endSample - state.audioWritten;
    const int frameBytes = Mp3Decoder::channels * 2;
    if (av_new_packet(state.packet, static_cast<int>(count * frameBytes)) < 0)
        return fail("out of memory");

    // Music sample for the next track sample; before the music starts and
    // after it ends the track is silent, so it always spans the whole video.
    auto* out = reinterpret_cast<int16_t*>(state.packet->data);
    std::memset(out, 0, static_cast<size_t>(count * frameBytes));
    const int64_t musicSample = state.musicStart + state.audioWritten;
    const int64_t silence = std::clamp<int64_t>(-musicSample, 0, count);
    state.music->read(out + silence * Mp3Decoder::channels, static_cast<size_t>(count - silence));

    state.packet->pts = state.audioWritten;
    state.packet->dts = state.audioWritten;
    state.packet->duration = count;
    state.packet->flags |= AV_PKT_FLAG_KEY;
    state.audioWritten = endSample;
    std::string error;
    if (!state.writePacket(state.packet, AVRational{1, Mp3Decoder::sampleRate}, state.audioStream, error))
        return fail("cannot write the audio track: " + error);
    return true;
}

bool VideoWriter::fail(const std::string& why)
{
    // Once is enough: every later frame is dropped without a word.
    std::fprintf(stderr, "capture: %s; no frame after it is written\n", why.c_str());
    failed_ = true;
    return false;
}

bool VideoWriter::finish()
{
    if (!open_)
        return complete_;
    open_ = false;
    // A stop signal must not end the process with the index half written.
    StopSignalHold hold;
    State& state = *state_;
    if (!failed_ && avcodec_send_frame(state.encoder, nullptr) >= 0)
        encode(true);
    // The trailer holds the index; without it players see no frames.
    complete_ = av_write_trailer(state.container) >= 0;
    if (avio_closep(&state.container->pb) < 0)
        complete_ = false;
    state.releaseRoom();
    return complete_;
}

} // namespace platform
