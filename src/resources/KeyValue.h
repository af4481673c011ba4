// Key-value text files: the scenes' small ".cfg" settings files, made of lines
// "key = value". A file is read whole into one terminated buffer; every lookup
// scans that text again from the start, nothing is parsed in advance.
//
// A key line starts with the key at its first character; a line starting with
// "#" is a comment. Keys match by prefix, so the key "mp3" also finds a line
// "mp3x = ...". Failures print a line to standard output and give the
// operation's not-found value (-1, -1.0 or null); callers carry on with it.
// Buffers returned by readTextFile and kvString belong to the caller.
#pragma once

#include <cstddef>
#include <memory>

// The file as one terminated text, or null. Line ends "\r\n" read as "\n", and
// a final line feed becomes the terminator. An empty file is refused.
std::unique_ptr<char[]> readTextFile(const char* path);

// Index of the value's first character, or -1.
int kvFind(const char* text, const char* key);

// atof of the value, or -1.0 when not found.
float kvFloat(const char* text, const char* key);

// atoi of the value (saturated to the int range), or -1 when not found.
int kvInt(const char* text, const char* key);

// The comma-separated floats of the value (up to its line end) stored into
// out[0..capacity); returns how many were stored, 0 when the value has no
// piece, -1 when the key is not found or the value is longer than
// kvMaxFloatsValue characters.
constexpr int kvMaxFloatsValue = 99;
int kvFloats(const char* text, const char* key, float* out, int capacity);

template <std::size_t N>
int kvFloats(const char* text, const char* key, float (&out)[N])
{
    return kvFloats(text, key, out, static_cast<int>(N));
}

// The contents of a double-quoted value (its first character is taken as the
// opening quote), up to the next quote not preceded by a backslash; escapes are
// copied unchanged. Null when not found or when the closing quote is missing.
std::unique_ptr<char[]> kvString(const char* text, const char* key);

// Names a settings file once on standard error when lookups made while the
// object lives fail: their own lines name only the key, and the show's
// files share key names ("mt", "diffuse", "shininess"). A reader of a file
// holds one around its lookups; a null name reports nothing.
class KvLookupReport {
public:
    explicit KvLookupReport(const char* fileName);
    ~KvLookupReport();
    KvLookupReport(const KvLookupReport&) = delete;
    KvLookupReport& operator=(const KvLookupReport&) = delete;

private:
    const char* fileName;
    int failedBefore;
};
