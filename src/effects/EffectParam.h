// A named effect parameter: a typed view onto storage inside the effect
// object, set from text by scripts and effect descriptions. The effect owns
// the storage; the parameter only points at it for the effect's lifetime.
//
// The parameter remembers what its storage holds, and takes a type from a
// description only when it matches: text is never written into storage of
// another kind, whatever a data file says.
//
// Text conversion follows the C library: `atoi` and `atof` (leading blanks
// skipped, conversion stops at the first unusable character, no digits give
// 0) and the number lists below.
#pragma once

#include <string>

enum ParamType {
    paramNone = -1,  // the description gave no valid type: text cannot set it
    paramInt = 0,    // int
    paramFloat = 1,  // float
    paramArray3 = 2, // float[3]
    paramArray4 = 3, // float[4]
    paramString = 4, // std::string
};

struct EffectParam {
    int type = paramNone;      // the type the description gave
    void* target = nullptr;
    int storage = paramNone;   // what `target` points at

    // Stores `text` into the target by type; 0 on success, 1 on failure (no
    // type, or a number list with too few numbers).
    int set(const char* text) const;
};

// The keyword of a description ("int", "float", "array3", "array4",
// "string") as a type code, paramNone for anything else.
int paramTypeFromKeyword(const char* keyword);

// Reads a comma-separated list of `count` floats into `target`. Blanks are
// dropped; a ";" or the end of the text ends the last number. Stops with
// success as soon as `count` numbers ended at commas (the rest is ignored);
// otherwise succeeds exactly when the last number makes `count`. With fewer
// numbers the ones given are still stored.
bool parseNumberList(const char* text, float* target, int count);
