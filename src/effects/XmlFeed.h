// How the show's XML readers (effect descriptions and scripts) hand their
// input to expat: in blocks of 256 bytes written into expat's own buffer,
// one parse call per block, the last call flagged by an empty read. The
// caller creates the parser and installs its handlers.
//
// A parse error stops the feed; whatever the handlers did before it stays.
#pragma once

#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace effects {

constexpr int xmlBlockSize = 256;

// Feeds an open file (binary mode) to the parser; false after a parse error.
bool feedXmlFile(XML_Parser parser, std::FILE* file);
// Feeds a block of memory the same way, for readers of in-memory data.
bool feedXmlBytes(XML_Parser parser, const uint8_t* data, size_t size);

// Notes a parse error on standard error as "source: line N: reason".
void reportXmlError(XML_Parser parser, const char* source);

// The value of attribute `name` in expat's name/value list, or null.
const char* xmlAttribute(const XML_Char** attributes, const char* name);

} // namespace effects
