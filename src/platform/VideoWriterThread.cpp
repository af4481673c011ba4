#include "platform/VideoWriterThread.h"

#include "platform/StopSignal.h"

namespace platform {

VideoWriterThread::VideoWriterThread(std::unique_ptr<VideoWriter> writer, size_t frameBytes)
    : writer_(std::move(writer)), frameBytes_(frameBytes)
{
    // The worker starts with the stop signals blocked and keeps them so:
    // they all reach the show's thread, whose hold then also keeps them
    // away while the index is written.
    StopSignalHold hold;
    worker_ = std::thread([this] { run(); });
}

VideoWriterThread::~VideoWriterThread() { finish(); }

bool VideoWriterThread::writeFrame(const uint8_t* pixels)
{
    std::vector<uint8_t> frame;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return dropped_ || stopping_ || !spare_.empty() || buffers_ < queueFrames + 1; });
        if (dropped_ || stopping_)
            return false;
        if (spare_.empty()) {
            ++buffers_;
        } else {
            frame = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    // Copied outside the lock, so the worker is never kept waiting by it.
    frame.assign(pixels, pixels + frameBytes_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_.push_back(std::move(frame));
    }
    changed_.notify_all();
    return true;
}

void VideoWriterThread::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;   // stopping, and everything is written
        std::vector<uint8_t> frame = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        // After a dropped frame the writer drops every later one.
        const bool written = writer_->writeFrame(frame.data());
        lock.lock();
        if (written)
            ++written_;
        else
            dropped_ = true;
        spare_.push_back(std::move(frame));
        changed_.notify_all();
    }
}

bool VideoWriterThread::finish()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (finished_)
            return complete_;
        finished_ = true;
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
    complete_ = writer_->finish();
    return complete_;
}

int64_t VideoWriterThread::framesWritten() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

bool VideoWriterThread::dropped() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return dropped_;
}

} // namespace platform
