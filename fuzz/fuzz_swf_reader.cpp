// Feeds arbitrary bytes to the SWF reader through swfScript, then plays the
// result at a few times, forward, backward and wrapped, with bindings and
// object callbacks attached. Run with -close_fd_mask=1: playback reports
// empty layers on standard output.
#include "swf/swfScript.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    swfScript script(data, size);
    script.registerObjectCallback("cb", [](swfMovie&, std::vector<swfCharacter*> objects) {
        for (swfCharacter* object : objects)
            object->clone();
    });
    float colour[4], position[2];
    script.bindColour(1, colour);
    script.bindPosition(2, position);
    for (double t : {0.0, 0.5, 3.25, 1.0, 100.75, -2.5, 70000.0})
        script.update(t);
    script.loop = false;
    script.update(1e9);
    script.rewind();
    script.update(2);
    return 0;
}
