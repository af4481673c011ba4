#include "effects/XmlFeed.h"

#include <algorithm>
#include <cstring>

namespace effects {

namespace {

// One block into expat's buffer; `read` fills it and returns the byte count.
template <typename Read>
bool feedBlocks(XML_Parser parser, Read read)
{
    for (;;) {
        void* buffer = XML_GetBuffer(parser, xmlBlockSize);
        if (buffer == nullptr)
            return false;
        const size_t count = read(static_cast<char*>(buffer));
        const bool last = count == 0;
        if (XML_ParseBuffer(parser, static_cast<int>(count), last) != XML_STATUS_OK)
            return false;
        if (last)
            return true;
    }
}

} // namespace

bool feedXmlFile(XML_Parser parser, std::FILE* file)
{
    return feedBlocks(parser, [file](char* buffer) { return std::fread(buffer, 1, xmlBlockSize, file); });
}

bool feedXmlBytes(XML_Parser parser, const uint8_t* data, size_t size)
{
    size_t position = 0;
    return feedBlocks(parser, [&](char* buffer) {
        const size_t count = std::min<size_t>(xmlBlockSize, size - position);
        if (count > 0)
            std::memcpy(buffer, data + position, count);
        position += count;
        return count;
    });
}

void reportXmlError(XML_Parser parser, const char* source)
{
    std::fprintf(stderr, "%s: line %lu: %s\n", source,
                 static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)),
                 XML_ErrorString(XML_GetErrorCode(parser)));
}

const char* xmlAttribute(const XML_Char** attributes, const char* name)
{
    for (int i = 0; attributes[i] != nullptr; i += 2)
        if (std::strcmp(attributes[i], name) == 0)
            return attributes[i + 1];
    return nullptr;
}

} // namespace effects
