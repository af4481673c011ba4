#include "resources/MemoryStream3DS.h"

#include <cstring>
#include <limits>

MemoryStream3DS::MemoryStream3DS(const uint8_t* data, size_t size)
    : data_(data), size_(size), io_(lib3ds_io_new(this, error, seek, tell, read, write))
{
}

MemoryStream3DS::~MemoryStream3DS()
{
    if (io_)
        lib3ds_io_free(io_);
}

Lib3dsBool MemoryStream3DS::error(void*)
{
    return LIB3DS_FALSE;
}

long MemoryStream3DS::seek(void* self, long offset, Lib3dsIoSeek origin)
{
    auto* stream = static_cast<MemoryStream3DS*>(self);
    long base = 0;
    switch (origin) {
    case LIB3DS_SEEK_SET: base = 0; break;
    case LIB3DS_SEEK_CUR: base = long(stream->position_); break;
    case LIB3DS_SEEK_END: base = long(stream->size_); break;
    default: return -1;
    }
    if (offset < -base || offset > std::numeric_limits<long>::max() - base)
        return -1;
    stream->position_ = size_t(base + offset);
    return 0;
}

long MemoryStream3DS::tell(void* self)
{
    return long(static_cast<MemoryStream3DS*>(self)->position_);
}

size_t MemoryStream3DS::read(void* self, void* buffer, size_t size)
{
    auto* stream = static_cast<MemoryStream3DS*>(self);
    const size_t left = stream->position_ < stream->size_ ? stream->size_ - stream->position_ : 0;
    const size_t count = size < left ? size : left;
    if (count > 0)
        std::memcpy(buffer, stream->data_ + stream->position_, count);
    std::memset(static_cast<uint8_t*>(buffer) + count, 0, size - count);
    stream->position_ += count;
    return count;
}

size_t MemoryStream3DS::write(void*, const void*, size_t)
{
    return 0;
}
