// Opening data files for reading. Only regular files count: a directory or a
// device named like a data file is "not found", so no reader sizes a buffer
// from something that has no size; so is a file past the 32-bit sizes that
// the show's files and pack rows use.
#pragma once

#include <cstdio>

// The file opened for binary reading with its size in bytes, or null.
FILE* openDataFile(const char* path, long& size);
