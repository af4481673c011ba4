// Opening data files for reading. Only regular files count: a directory or a
// device named like a data file is "not found", so no reader sizes a buffer
// from something that has no size; so is a file past the 32-bit sizes that
// the show's files and pack rows use.
#pragma once

#include <cstdio>
#include <memory>

// A whole data file in memory. `data` is followed by two zero bytes, so a
// text file can be read in place as a terminated string.
struct FileBytes {
    std::unique_ptr<char[]> data;
    int size = 0;   // bytes of the file, without the two zero bytes

    explicit operator bool() const { return data != nullptr; }
};

// The file opened for binary reading with its size in bytes, or null.
FILE* openDataFile(const char* path, long& size);

// Why readDataFile gave nothing.
enum class DataFileProblem { none, missing, unreadable };

// The whole file at `path` in binary, or empty with `problem` set; prints
// nothing, so each reader words its own message.
FileBytes readDataFile(const char* path, DataFileProblem& problem);
