// The catalogue of generated data files. Each kind of content (the music,
// the opening's pictures, later the scenes' 3DS models and SWF movies) lives
// in a file of its own that registers its products with GLINT_DATA_PRODUCT;
// the generator's main writes every registered product into the data
// directory. A product makes its bytes from nothing but code and the fonts,
// so the same bytes come out on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

// How much to make: a shortened music track keeps the generator fast where
// only the machinery is checked (tests), never in the show's data.
struct GeneratorOptions {
    bool music = true;
    double musicFromBeat = -1;   // both >= 0: only this stretch of the track
    double musicToBeat = -1;
};

using MakeBytes = std::vector<uint8_t> (*)(const GeneratorOptions& options);

struct DataProduct {
    const char* fileName;   // as the show asks for it, relative to the data directory
    MakeBytes make;
    bool isMusic;           // skipped when options.music is off
};

// The registered products, sorted by file name (registration order across
// files is not fixed; the output must be).
std::vector<DataProduct> dataProducts();

struct DataProductRegistration {
    explicit DataProductRegistration(const DataProduct& product);
};

} // namespace datagen

#define GLINT_DATA_CONCAT2(a, b) a##b
#define GLINT_DATA_CONCAT(a, b) GLINT_DATA_CONCAT2(a, b)
#define GLINT_DATA_PRODUCT(fileName, make, isMusic)                                                          \
    static const datagen::DataProductRegistration GLINT_DATA_CONCAT(dataProduct_, __LINE__)({fileName, make, \
                                                                                            isMusic})
