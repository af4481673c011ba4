// Video capture: the show's frames go into a video file (AVI, or MP4 for
// h264) at a fixed frame rate. One capture at a time, process-wide.
//
// A capture never overwrites a file: when the name asked for exists (an
// earlier capture of this run, or one left by an earlier run) it goes to the
// next free numbered name, "quillon-2.avi", "quillon-3.avi", ..., and says so
// on standard error. The codec is chosen by name before the show runs; the
// music, when given, becomes the file's audio track, starting at the music
// time of the first frame.
//
// closeCapture() completes the file, and so does the end of the process
// (exit() included), so a capture stopped at any point plays to its last
// frame. Frames written while no capture is open are dropped.
#pragma once

#include <string>
#include <vector>

// The names `setCaptureCodec` accepts, the default ("mjpeg") first.
std::vector<std::string> captureCodecNames();
// Chooses the codec of later captures. False, and nothing changes, for a
// name that is not in the list.
bool setCaptureCodec(const std::string& name);
const std::string& captureCodec();

// The music to carry as the audio track, and the music time in seconds that
// plays with the first frame (a capture starting at a later scene starts at
// that scene's music). An empty path means no audio track. It applies to
// captures whose first frame is still to come.
void setCaptureAudio(const std::string& musicPath, double musicStartSeconds);

// `fileName` for number 1; otherwise the name with "-number" put before its
// extension: numberedCaptureName("quillon.avi", 2) is "quillon-2.avi".
std::string numberedCaptureName(const std::string& fileName, int number);

// `fileName` with the extension of the chosen codec's files:
// "quillon.avi" stays "quillon.avi" for the AVI codecs and becomes
// "quillon.mp4" for h264.
std::string captureNameForCodec(const std::string& fileName);

// Starts a capture of `width` x `height` frames at `framesPerSecond` into
// `fileName` (its extension the codec's) or the next free numbered name. A
// running capture is closed first. False when no file could be created (the
// reason is on standard error); frames are then dropped.
bool openCapture(const std::string& fileName, int framesPerSecond, int width, int height);
// Appends one frame: width x height pixels of B, G, R, A bytes, bottom row
// first, as glReadPixels returns them. The pixels are copied; a worker
// thread converts and encodes them, a few frames behind. False when a frame
// could not be written (a full disk, a file that cannot be made): this one
// or, found by the worker, one of the three before it. The capture has then
// ended, its file completed with the frames before the failed one.
bool writeCaptureFrame(const unsigned char* pixels);
// Completes the file; false (and a word on standard error) when it may be
// incomplete or lacks a frame it was given. True when no capture is open.
bool closeCapture();

bool captureIsOpen();
// The file of the running or the last capture ("" before the first).
const std::string& captureFileName();
// Frames given to the running capture, or in the file of the last one.
long captureFramesWritten();
