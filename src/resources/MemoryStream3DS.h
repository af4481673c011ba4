// A lib3ds stream that reads a 3DS file from a memory block, for files that
// come out of the pack file (or were read whole from disk).
//
// Reads copy bytes from the current position and advance it; a read past the
// end copies what is left and fills the rest of the caller's buffer with
// zeros, so lib3ds never works on uninitialised values. Seeks go from the
// start, the current position or the block's size; a seek before the start
// fails and keeps the position, a seek past the end is allowed (reads there
// return nothing). The error query always reports no error, and writes are
// refused. The block is borrowed and must outlive the stream.
#pragma once

#include <lib3ds/io.h>

#include <cstddef>
#include <cstdint>

class MemoryStream3DS {
public:
    MemoryStream3DS(const uint8_t* data, size_t size);
    ~MemoryStream3DS();
    MemoryStream3DS(const MemoryStream3DS&) = delete;
    MemoryStream3DS& operator=(const MemoryStream3DS&) = delete;

    // The lib3ds stream; null only when lib3ds could not allocate it.
    Lib3dsIo* io() const { return io_; }

private:
    static Lib3dsBool error(void* self);
    static long seek(void* self, long offset, Lib3dsIoSeek origin);
    static long tell(void* self);
    static size_t read(void* self, void* buffer, size_t size);
    static size_t write(void* self, const void* buffer, size_t size);

    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    Lib3dsIo* io_;
};
