#include "shell/VideoCapture.h"

#include "platform/VideoWriter.h"
#include "platform/VideoWriterThread.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// More numbered files than anyone keeps means something else is wrong.
constexpr int maxCaptureNumber = 9999;

struct CaptureState {
    std::string codec = "mjpeg";
    platform::AudioTrack audio;

    bool open = false;
    std::string fileName;
    platform::VideoFormat format;
    // Made at the first frame, so that the audio track can still be given
    // after the file was opened (a capture from the start opens it before
    // the show has loaded its music). Its own thread encodes, so the show
    // renders the next frames meanwhile.
    std::unique_ptr<platform::VideoWriterThread> writer;
    long frames = 0;  // accepted; once closed, those in the file
};

// The writer finishes its file in its destructor, so the end of the
// process, exit() included, completes a running capture.
CaptureState& capture()
{
    static CaptureState state;
    return state;
}

// Creates `path` only when it does not exist yet, so that two captures can
// never share a file. 1: created, 0: exists, -1: cannot be created.
int createNewFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file) {
        std::fclose(file);
        return 1;
    }
    return errno == EEXIST ? 0 : -1;
}

bool startWriter(CaptureState& state)
{
    std::string error, warning;
    state.format.codec = state.codec;
    std::unique_ptr<platform::VideoWriter> writer =
        platform::VideoWriter::open(state.fileName, state.format, state.audio, error, warning);
    if (!warning.empty())
        std::fprintf(stderr, "capture: %s\n", warning.c_str());
    if (!writer) {
        std::fprintf(stderr, "capture: cannot write %s: %s\n", state.fileName.c_str(), error.c_str());
        // What is there is no video; leave no file that looks like one.
        std::remove(state.fileName.c_str());
        return false;
    }
    const size_t frameBytes = static_cast<size_t>(state.format.width) * static_cast<size_t>(state.format.height) * 4;
    state.writer = std::make_unique<platform::VideoWriterThread>(std::move(writer), frameBytes);
    return true;
}

// Completes the running capture's file; false (and a word on standard
// error) when it may be incomplete. `dropped`: a frame given to it was not
// written.
bool finishWriter(CaptureState& state, bool& dropped)
{
    const bool complete = state.writer->finish();
    if (!complete)
        std::fprintf(stderr, "capture: %s may be incomplete\n", state.fileName.c_str());
    state.frames = static_cast<long>(state.writer->framesWritten());
    dropped = state.writer->dropped();
    state.writer.reset();
    return complete;
}

// Where the extension of `fileName` starts (at its dot), or its length.
size_t extensionStart(const std::string& fileName)
{
    const size_t nameStart = fileName.find_last_of('/') + 1;  // 0 without a folder
    const size_t dot = fileName.find_last_of('.');
    // A dot in a folder name or a leading dot (".avi") starts no extension.
    return dot == std::string::npos || dot <= nameStart ? fileName.size() : dot;
}

} // namespace

std::vector<std::string> captureCodecNames() { return platform::videoCodecNames(); }

bool setCaptureCodec(const std::string& name)
{
    if (!platform::isVideoCodecName(name))
        return false;
    capture().codec = name;
    return true;
}

const std::string& captureCodec() { return capture().codec; }

void setCaptureAudio(const std::string& musicPath, double musicStartSeconds)
{
    capture().audio = platform::AudioTrack{musicPath, musicStartSeconds};
}

std::string numberedCaptureName(const std::string& fileName, int number)
{
    if (number <= 1)
        return fileName;
    const size_t dot = extensionStart(fileName);
    return fileName.substr(0, dot) + "-" + std::to_string(number) + fileName.substr(dot);
}

std::string captureNameForCodec(const std::string& fileName)
{
    return fileName.substr(0, extensionStart(fileName)) + "." + platform::videoFileExtension(capture().codec);
}

bool openCapture(const std::string& name, int framesPerSecond, int width, int height)
{
    closeCapture();
    CaptureState& state = capture();
    state.fileName.clear();
    state.frames = 0;
    const std::string fileName = captureNameForCodec(name);
    for (int number = 1; number <= maxCaptureNumber && state.fileName.empty(); ++number) {
        std::string candidate = numberedCaptureName(fileName, number);
        int created = createNewFile(candidate);
        if (created < 0) {
            std::fprintf(stderr, "capture: cannot create %s: %s\n", candidate.c_str(), std::strerror(errno));
            return false;
        }
        if (created > 0)
            state.fileName = candidate;
    }
    if (state.fileName.empty()) {
        std::fprintf(stderr, "capture: no free file name like %s\n", fileName.c_str());
        return false;
    }
    if (state.fileName != fileName)
        std::fprintf(stderr, "capture: %s exists; writing %s\n", fileName.c_str(), state.fileName.c_str());
    state.format.width = width;
    state.format.height = height;
    state.format.framesPerSecond = framesPerSecond;
    state.open = true;
    return true;
}

bool writeCaptureFrame(const unsigned char* pixels)
{
    CaptureState& state = capture();
    if (!state.open)
        return true;
    if (!state.writer && !startWriter(state)) {
        state.open = false;
        return false;
    }
    if (state.writer->writeFrame(pixels)) {
        ++state.frames;
        return true;
    }
    // The frames after a failed one would leave a gap: the capture ends
    // with what it holds (the failed frame may be up to three before this
    // one: the encoder runs behind the show).
    state.open = false;
    bool dropped = false;
    if (finishWriter(state, dropped))
        std::fprintf(stderr, "capture: %s is complete with the %ld frames before the failed one\n",
                     state.fileName.c_str(), state.frames);
    return false;
}

bool closeCapture()
{
    CaptureState& state = capture();
    if (!state.open)
        return true;
    state.open = false;
    // A capture without frames still becomes a valid (empty) video file.
    if (!state.writer && !startWriter(state))
        return false;
    bool dropped = false;
    const bool complete = finishWriter(state, dropped);
    // The encoder runs behind the show: the last frames may have failed
    // after the show gave its last one.
    if (complete && dropped)
        std::fprintf(stderr, "capture: the last frames could not be written; %s is complete with the %ld before them\n",
                     state.fileName.c_str(), state.frames);
    return complete && !dropped;
}

bool captureIsOpen() { return capture().open; }

const std::string& captureFileName() { return capture().fileName; }

long captureFramesWritten() { return capture().frames; }
