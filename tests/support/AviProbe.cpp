#include "support/AviProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <memory>

namespace mediatest {

namespace {

struct Reader {
    AVFormatContext* container = nullptr;
    AVCodecContext* decoder = nullptr;
    AVCodecContext* audioDecoder = nullptr;
    SwsContext* converter = nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();

    ~Reader()
    {
        sws_freeContext(converter);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&decoder);
        avcodec_free_context(&audioDecoder);
        avformat_close_input(&container);
    }
};

void takeFrames(Reader& reader, AviContents& out)
{
    while (avcodec_receive_frame(reader.decoder, reader.frame) >= 0) {
        AVFrame* f = reader.frame;
        reader.converter = sws_getCachedContext(reader.converter, f->width, f->height,
                                                static_cast<AVPixelFormat>(f->format), f->width, f->height,
                                                AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
        // As a player does: the matrix and range the file is tagged with.
        const int* matrix = sws_getCoefficients(f->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_ITU601);
        sws_setColorspaceDetails(reader.converter, matrix, f->color_range == AVCOL_RANGE_JPEG, matrix, 1, 0,
                                 1 << 16, 1 << 16);
        std::vector<uint8_t> rgb(static_cast<size_t>(f->width) * f->height * 3);
        uint8_t* planes[1] = {rgb.data()};
        int strides[1] = {f->width * 3};
        sws_scale(reader.converter, f->data, f->linesize, 0, f->height, planes, strides);
        out.framesRgb.push_back(std::move(rgb));
        out.framePts.push_back(f->pts);
    }
}

// Planar float samples as interleaved 16-bit stereo.
void takeSamples(Reader& reader, AviContents& out)
{
    while (avcodec_receive_frame(reader.audioDecoder, reader.frame) >= 0) {
        const AVFrame* f = reader.frame;
        for (int i = 0; i < f->nb_samples; ++i)
            for (int channel = 0; channel < 2; ++channel) {
                const float value = reinterpret_cast<const float*>(f->data[channel])[i];
                out.audio.push_back(static_cast<int16_t>(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
            }
    }
}

// -1 where the container does not say (AVI's PCM track).
double seconds(const AVStream* stream)
{
    return stream->duration == AV_NOPTS_VALUE ? -1.0 : stream->duration * av_q2d(stream->time_base);
}

} // namespace

std::vector<int> AviContents::pixel(size_t index, int x, int y) const
{
    const uint8_t* p = framesRgb.at(index).data() + (static_cast<size_t>(y) * width + x) * 3;
    return {p[0], p[1], p[2]};
}

AviContents probeVideo(const std::string& path)
{
    AviContents out;
    Reader reader;
    if (avformat_open_input(&reader.container, path.c_str(), nullptr, nullptr) < 0
        || avformat_find_stream_info(reader.container, nullptr) < 0) {
        out.error = "cannot open " + path;
        return out;
    }
    out.format = reader.container->iformat->name;
    int video = av_find_best_stream(reader.container, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0) {
        out.error = "no video stream";
        return out;
    }
    AVStream* stream = reader.container->streams[video];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    reader.decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(reader.decoder, stream->codecpar);
    if (!codec || avcodec_open2(reader.decoder, codec, nullptr) < 0) {
        out.error = "cannot decode the video stream";
        return out;
    }
    out.videoCodec = codec->name;
    out.width = stream->codecpar->width;
    out.height = stream->codecpar->height;
    out.frameRateNum = stream->avg_frame_rate.num;
    out.frameRateDen = stream->avg_frame_rate.den;
    out.timeBaseNum = stream->time_base.num;
    out.timeBaseDen = stream->time_base.den;
    out.videoSeconds = seconds(stream);

    int audio = av_find_best_stream(reader.container, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio >= 0) {
        AVCodecParameters* parameters = reader.container->streams[audio]->codecpar;
        out.hasAudio = true;
        out.audioCodec = avcodec_get_name(parameters->codec_id);
        out.audioRate = parameters->sample_rate;
        out.audioChannels = parameters->ch_layout.nb_channels;
        out.audioSeconds = seconds(reader.container->streams[audio]);
        if (parameters->codec_id == AV_CODEC_ID_AAC) {
            const AVCodec* aac = avcodec_find_decoder(parameters->codec_id);
            reader.audioDecoder = avcodec_alloc_context3(aac);
            avcodec_parameters_to_context(reader.audioDecoder, parameters);
            avcodec_open2(reader.audioDecoder, aac, nullptr);
        }
    }

    while (av_read_frame(reader.container, reader.packet) >= 0) {
        if (reader.packet->stream_index == video) {
            avcodec_send_packet(reader.decoder, reader.packet);
            takeFrames(reader, out);
        } else if (reader.packet->stream_index == audio && out.audioCodec == "pcm_s16le") {
            const auto* samples = reinterpret_cast<const int16_t*>(reader.packet->data);
            out.audio.insert(out.audio.end(), samples, samples + reader.packet->size / 2);
        } else if (reader.packet->stream_index == audio && reader.audioDecoder) {
            avcodec_send_packet(reader.audioDecoder, reader.packet);
            takeSamples(reader, out);
        }
        av_packet_unref(reader.packet);
    }
    avcodec_send_packet(reader.decoder, nullptr);
    takeFrames(reader, out);
    if (reader.audioDecoder) {
        avcodec_send_packet(reader.audioDecoder, nullptr);
        takeSamples(reader, out);
    }
    if (out.audioSeconds < 0.0 && out.audioRate > 0)
        out.audioSeconds = static_cast<double>(out.audio.size() / 2) / out.audioRate;
    out.readable = true;
    return out;
}

} // namespace mediatest
