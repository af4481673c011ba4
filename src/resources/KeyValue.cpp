#include "resources/KeyValue.h"

#include "resources/DataFile.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Lookups of the whole run that printed an error, for KvLookupReport.
int failedLookups = 0;

// Windows read these files in text mode; drop the carriage return of every
// "\r\n" in place so keys and values look the same whatever wrote the file.
long joinLineEnds(char* text, long length)
{
    long out = 0;
    for (long in = 0; in < length; ++in) {
        if (text[in] == '\r' && in + 1 < length && text[in + 1] == '\n')
            continue;
        text[out++] = text[in];
    }
    return out;
}

} // namespace

std::unique_ptr<char[]> readTextFile(const char* path)
{
    long length = -1;
    FILE* file = openDataFile(path, length);
    if (!file) {
        std::printf("File not found: %s\n", path);
        return nullptr;
    }
    if (length == 0) {
        std::printf("Text file is empty: %s\n", path);
        std::fclose(file);
        return nullptr;
    }
    // One byte more than the file, so a last line without a line feed keeps
    // its last character.
    std::unique_ptr<char[]> text(length > 0 ? new (std::nothrow) char[length + 1] : nullptr);
    if (!text) {
        std::printf("Could not allocate memory for text file %s\n", path);
        std::fclose(file);
        return nullptr;
    }
    long got = static_cast<long>(std::fread(text.get(), 1, static_cast<size_t>(length), file));
    std::fclose(file);
    got = joinLineEnds(text.get(), got);
    if (got > 0 && text[got - 1] == '\n')
        --got;
    text[got] = '\0';
    return text;
}

int kvFind(const char* text, const char* key)
{
    if (!text) {
        ++failedLookups;
        std::printf("Invalid text file\n");
        return -1;
    }
    if (!key) {
        ++failedLookups;
        std::printf("Invalid ID\n");
        return -1;
    }
    const size_t keyLength = std::strlen(key);
    size_t i = 0;
    for (;;) {
        if (text[i] == '\0') {
            ++failedLookups;
            std::printf("Error: \"%s\" not found\n", key);
            return -1;
        }
        if (text[i] != '#' && std::strncmp(text + i, key, keyLength) == 0)
            break;
        while (text[i] != '\0' && text[i] != '\n')
            ++i;
        if (text[i] == '\n')
            ++i;
    }
    // Line feeds do not stop this scan: a key line without "=" takes the "="
    // of a later line.
    i += keyLength;
    while (text[i] != '\0' && text[i] != '=')
        ++i;
    if (text[i] == '\0') {
        ++failedLookups;
        std::printf("Error: key not found in \"%s\"\n", key);
        return -1;
    }
    ++i;
    while (text[i] != '\0' && isBlank(text[i]))
        ++i;
    if (text[i] == '\0' || text[i - 1] == '\n') {
        ++failedLookups;
        std::printf("Error: key not found in \"%s\"\n", key);
        return -1;
    }
    return static_cast<int>(i);
}

float kvFloat(const char* text, const char* key)
{
    int at = kvFind(text, key);
    if (at < 0)
        return -1.0f;
    return static_cast<float>(std::atof(text + at));
}

int kvInt(const char* text, const char* key)
{
    int at = kvFind(text, key);
    if (at < 0)
        return -1;
    long value = std::strtol(text + at, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int kvFloats(const char* text, const char* key, float* out, int capacity)
{
    int at = kvFind(text, key);
    if (at < 0)
        return -1;
    const char* value = text + at;
    size_t length = std::strcspn(value, "\n");
    if (length > static_cast<size_t>(kvMaxFloatsValue)) {
        ++failedLookups;
        std::printf("Error: value of \"%s\" is longer than %d characters\n", key, kvMaxFloatsValue);
        return -1;
    }
    // Pieces as strtok cuts them at ",": empty pieces between commas vanish.
    std::string buffer(value, length);
    int count = 0;
    for (size_t start = 0; start < length && count < capacity;) {
        size_t end = buffer.find(',', start);
        if (end == std::string::npos)
            end = length;
        if (end > start)
            out[count++] = static_cast<float>(std::atof(buffer.substr(start, end - start).c_str()));
        start = end + 1;
    }
    return count;
}

std::unique_ptr<char[]> kvString(const char* text, const char* key)
{
    int at = kvFind(text, key);
    if (at < 0)
        return nullptr;
    const char* contents = text + at + 1;   // past the opening quote
    size_t length = 0;
    for (;;) {
        char c = contents[length];
        if (c == '\0') {
            ++failedLookups;
            std::printf("Error: no closing quote in the value of \"%s\"\n", key);
            return nullptr;
        }
        if (c == '"')
            break;
        length += (c == '\\' && contents[length + 1] == '"') ? 2 : 1;
    }
    std::unique_ptr<char[]> result(new char[length + 1]);
    std::memcpy(result.get(), contents, length);
    result[length] = '\0';
    return result;
}

KvLookupReport::KvLookupReport(const char* fileName) : fileName(fileName), failedBefore(failedLookups) {}

KvLookupReport::~KvLookupReport()
{
    const int failed = failedLookups - failedBefore;
    if (fileName != nullptr && failed > 0)
        std::fprintf(stderr, "%s: %d key%s missing or unreadable, the defaults stay\n", fileName, failed,
                     failed == 1 ? "" : "s");
}
