// Key-value lookups on arbitrary text. Input: the key up to the first line
// feed, then the text. Every lookup runs on the same text; none may read past
// its terminator or write past the caller's float array.
#include "resources/KeyValue.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const char* split = static_cast<const char*>(std::memchr(bytes, '\n', size));
    if (!split)
        return 0;
    std::string key(bytes, static_cast<size_t>(split - bytes));
    std::string text(split + 1, size - static_cast<size_t>(split + 1 - bytes));

    kvFind(text.c_str(), key.c_str());
    kvFloat(text.c_str(), key.c_str());
    kvInt(text.c_str(), key.c_str());
    float values[4];
    kvFloats(text.c_str(), key.c_str(), values);
    kvString(text.c_str(), key.c_str());
    return 0;
}
