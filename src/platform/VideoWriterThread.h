// Runs a VideoWriter on a worker thread of its own, so that the colour
// conversion and the encoding of one frame overlap the rendering of the
// next ones.
//
// Frames are copied into a queue of at most `queueFrames` pictures besides
// the one being encoded; when it is full, writeFrame waits for the worker,
// so a slow encoder slows the capture down instead of piling up frames, and
// the memory stays bounded. Frames reach the file in the order they came.
//
// A frame the writer drops (a full disk, an encoder error; the reason is on
// standard error) is found by the worker: writeFrame says so at the next
// frame and from then on, and the frames queued after the dropped one are
// not written either. finish() (or the destructor) writes what is queued,
// ends the worker and completes the file on the calling thread.
#pragma once

#include "platform/VideoWriter.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

class VideoWriterThread {
public:
    static constexpr size_t queueFrames = 2;

    // `frameBytes`: the size of every frame given to writeFrame.
    VideoWriterThread(std::unique_ptr<VideoWriter> writer, size_t frameBytes);
    ~VideoWriterThread();
    VideoWriterThread(const VideoWriterThread&) = delete;
    VideoWriterThread& operator=(const VideoWriterThread&) = delete;

    // Queues a copy of `pixels`. False when a frame was dropped: this one
    // is not queued, and no later one will be.
    bool writeFrame(const uint8_t* pixels);
    // Completes the file as VideoWriter::finish does, once the queue is
    // written. Idempotent.
    bool finish();
    // Frames in the file so far; once finish() has returned, all of them.
    int64_t framesWritten() const;
    // Whether a frame was dropped, also one that writeFrame had queued and
    // no later call reported.
    bool dropped() const;

private:
    void run();

    std::unique_ptr<VideoWriter> writer_;
    const size_t frameBytes_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<uint8_t>> waiting_;  // oldest first
    std::vector<std::vector<uint8_t>> spare_;   // written, to be reused
    size_t buffers_ = 0;                        // made so far
    int64_t written_ = 0;
    bool dropped_ = false;
    bool stopping_ = false;
    bool finished_ = false;
    bool complete_ = false;
    std::thread worker_;
};

} // namespace platform
