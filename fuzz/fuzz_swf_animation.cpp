// Feeds arbitrary text to the animation description parser; what parses is
// written as a movie and read back by the show's reader.
#include "swf/swfMovie.h"
#include "swfwriter/SwfAnimation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    swfwriter::Animation animation;
    std::string error;
    if (!swfwriter::parseAnimation(std::string(reinterpret_cast<const char*>(data), size), animation, error))
        return 0;
    // Long animations are legal but slow to write; the short ones cover the code.
    if (swfwriter::animationFrames(animation) > 2000)
        return 0;
    std::vector<uint8_t> bytes = swfwriter::writeAnimation(animation);
    swfMovie movie;
    if (movie.load(bytes.data(), bytes.size()) != 1)
        std::abort();   // the writer's movies always read
    movie.advance(animation.frames);
    return 0;
}
