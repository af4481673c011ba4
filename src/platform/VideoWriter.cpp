#include "platform/VideoWriter.h"

#include "platform/Mp3Decoder.h"
#include "platform/StopSignal.h"
#include "platform/VideoSoundTrack.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct CodecChoice {
    const char* name;        // as the user gives it
    const char* encoderName; // libavcodec's
    const char* container;   // libavformat's name, also the file's extension
    AVPixelFormat pixelFormat;
    bool keepBottomUp;  // stored as read back; the header marks it bottom-up
};

// 4:2:2 at full range keeps thin coloured lines sharper than 4:2:0, and is
// what MJPEG players commonly expect. H.264 in MP4 is what browsers and
// phones play: 4:2:0 at video range, with AAC sound.
const CodecChoice codecChoices[] = {
    {"mjpeg", "mjpeg", "avi", AV_PIX_FMT_YUV422P, false},
    {"ffv1", "ffv1", "avi", AV_PIX_FMT_BGR0, false},
    {"rawvideo", "rawvideo", "avi", AV_PIX_FMT_BGRA, true},
    {"h264", "libx264", "mp4", AV_PIX_FMT_YUV420P, false},
};

const CodecChoice* findChoice(const std::string& name)
{
    for (const CodecChoice& choice : codecChoices)
        if (name == choice.name && avcodec_find_encoder_by_name(choice.encoderName))
            return &choice;
    return nullptr;
}

bool isMp4(const CodecChoice& choice) { return std::strcmp(choice.container, "mp4") == 0; }

// mjpeg's fixed quantiser scale: 2 is near the best it can do.
constexpr int mjpegQuality = 2;
// x264's constant quality: 18 keeps the show's thin text sharp; the preset
// trades a slightly larger file for an encoder that keeps up with the show.
constexpr const char* x264Quality = "18";
constexpr const char* x264Preset = "veryfast";

// Room kept on the disk beyond the file's end: the next packet, its chunk
// header and the lists around it, and the index the trailer writes (16
// bytes for every packet in an AVI; an MP4's sample tables take more).
constexpr int64_t roomSlack = 64 * 1024;
int64_t indexBytesPerPacket(const CodecChoice& choice) { return isMp4(choice) ? 64 : 16; }

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
        if (avcodec_find_encoder_by_name(choice.encoderName))
            names.push_back(choice.name);
    return names;
}

bool isVideoCodecName(const std::string& name) { return findChoice(name) != nullptr; }

std::string videoFileExtension(const std::string& codec)
{
    const CodecChoice* choice = findChoice(codec);
    return choice ? choice->container : "avi";
}

struct VideoWriter::State {
    AVFormatContext* container = nullptr;
    AVCodecContext* encoder = nullptr;
    AVStream* videoStream = nullptr;
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

    std::unique_ptr<VideoSoundTrack> sound;  // null: no audio track
    VideoSoundTrack::PacketOut writeSound;

    ~State()
    {
        if (roomFd >= 0)
            close(roomFd);
        sound.reset();
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
    bool openConverter(std::string& error);
    bool writePacket(AVPacket* out, std::string& error);
    bool reserveRoom(int64_t packetBytes, std::string& error);
    void releaseRoom();
};

bool VideoWriter::State::openEncoder(const VideoFormat& format, std::string& error)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(choice->encoderName);
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
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (codec->id == AV_CODEC_ID_MJPEG) {
        encoder->color_range = AVCOL_RANGE_JPEG;
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = FF_QP2LAMBDA * mjpegQuality;
    } else if (codec->id == AV_CODEC_ID_H264) {
        // Tagged, so that players convert back with the matrix used here.
        encoder->color_range = AVCOL_RANGE_MPEG;
        encoder->colorspace = AVCOL_SPC_BT709;
        encoder->color_primaries = AVCOL_PRI_BT709;
        encoder->color_trc = AVCOL_TRC_BT709;
        av_dict_set(&options, "crf", x264Quality, 0);
        av_dict_set(&options, "preset", x264Preset, 0);
    }
    int result = avcodec_open2(encoder, codec, &options);
    av_dict_free(&options);
    if (result < 0) {
        error = std::string("cannot open the ") + choice->name + " encoder: " + errorText(result);
        return false;
    }

    frame->format = encoder->pix_fmt;
    frame->width = encoder->width;
    frame->height = encoder->height;
    frame->color_range = encoder->color_range;
    frame->colorspace = encoder->colorspace;
    if (av_frame_get_buffer(frame, 0) < 0) {
        error = "out of memory";
        return false;
    }
    if (!openConverter(error))
        return false;

    videoStream = avformat_new_stream(container, nullptr);
    if (!videoStream || avcodec_parameters_from_context(videoStream->codecpar, encoder) < 0) {
        error = "cannot add the video stream";
        return false;
    }
    videoStream->time_base = encoder->time_base;
    videoStream->avg_frame_rate = encoder->framerate;
    return true;
}

bool VideoWriter::State::openConverter(std::string& error)
{
    converter = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, encoder->pix_fmt,
                               SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!converter) {
        error = "cannot convert BGRA pictures for the encoder";
        return false;
    }
    // Full range for JPEG, video range for H.264; for RGB targets this is
    // a plain copy.
    const int* source = sws_getCoefficients(SWS_CS_ITU601);
    const int* target = sws_getCoefficients(encoder->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_ITU601);
    sws_setColorspaceDetails(converter, source, 1, target, encoder->color_range == AVCOL_RANGE_JPEG ? 1 : 0, 0,
                             1 << 16, 1 << 16);
    return true;
}

// Packets are written as they come, video then the audio under it, so
// nothing waits in an interleaving queue: what the room was reserved for is
// exactly what the next write adds. `out` carries its stream's index and
// timestamps in that stream's time base.
bool VideoWriter::State::writePacket(AVPacket* out, std::string& error)
{
    if (!reserveRoom(out->size, error))
        return false;
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
    const int64_t room = packetBytes + roomSlack + indexBytesPerPacket(*choice) * (packets + 1);
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

    int result = avformat_alloc_output_context2(&state.container, nullptr, state.choice->container, path.c_str());
    if (result < 0) {
        error = errorText(result);
        return nullptr;
    }
    if (!state.openEncoder(format, error))
        return nullptr;
    if (!audio.mp3Path.empty())
        state.sound = VideoSoundTrack::open(audio, isMp4(*state.choice), state.container, warning);
    state.writeSound = [&state](AVPacket* packet, std::string& why) { return state.writePacket(packet, why); };

    result = avio_open(&state.container->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (result < 0) {
        error = "cannot create " + path + ": " + errorText(result);
        return nullptr;
    }
    state.roomFd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    AVDictionary* options = nullptr;
    if (state.choice->keepBottomUp)
        av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    // The index at the front lets a browser start playing before the whole
    // file has arrived; moving it there costs one copy of the file at the end.
    if (isMp4(*state.choice))
        av_dict_set(&options, "movflags", "+faststart", 0);
    result = avformat_write_header(state.container, &options);
    av_dict_free(&options);
    if (result < 0) {
        error = "cannot write the file header: " + errorText(result);
        return nullptr;
    }
    writer->open_ = true;
    return writer;
}

bool VideoWriter::hasAudio() const { return state_->sound != nullptr; }

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
    if (!encode())
        return false;
    ++framesWritten_;
    // The audio that plays while this frame is shown, to its last sample.
    std::string error;
    if (state.sound && !state.sound->writeUntil(framesWritten_ * Mp3Decoder::sampleRate / state.framesPerSecond,
                                                state.writeSound, error))
        return fail("cannot write the audio track: " + error);
    return true;
}

// Writes the packets the encoder has ready; after the flush, all of them.
bool VideoWriter::encode()
{
    State& state = *state_;
    for (;;) {
        int result = avcodec_receive_packet(state.encoder, state.packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            return fail("cannot encode a frame: " + errorText(result));
        state.packet->stream_index = state.videoStream->index;
        av_packet_rescale_ts(state.packet, state.encoder->time_base, state.videoStream->time_base);
        std::string error;
        const bool written = state.writePacket(state.packet, error);
        av_packet_unref(state.packet);
        if (!written)
            return fail("cannot write a video frame: " + error);
    }
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
    // The encoder may hold frames back (H.264 looks ahead); they go in
    // before the index, and the sound that is still waiting after them.
    bool soundComplete = true;
    if (!failed_ && avcodec_send_frame(state.encoder, nullptr) >= 0 && encode() && state.sound) {
        std::string error;
        soundComplete = state.sound->finish(state.writeSound, error);
        if (!soundComplete)
            std::fprintf(stderr, "capture: cannot write the end of the audio track: %s\n", error.c_str());
    }
    // The trailer holds the index; without it players see no frames.
    complete_ = av_write_trailer(state.container) >= 0 && soundComplete;
    if (avio_closep(&state.container->pb) < 0)
        complete_ = false;
    state.releaseRoom();
    return complete_;
}

} // namespace platform
