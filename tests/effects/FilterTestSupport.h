// Shared set-up for the filter tests: a current headless context with
// pbuffers available, a resource manager reading the built data directory,
// and helpers to put known pictures on the screen.
#pragma once

#include "effects/Effect.h"
#include "effects/EffectFactory.h"
#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "support/ShowResourcesTest.h"

#include <epoxy/gl.h>

#include <functional>
#include <memory>
#include <vector>

class FilterTest : public ShowResourcesTest {
protected:
    // Puts a 640 x 480 picture on the screen, colour (r, g, b) in 0-255 of
    // each pixel given by `colour(x, y)` (origin bottom left).
    static void drawPicture(const std::function<std::array<uint8_t, 3>(int, int)>& colour)
    {
        std::vector<uint8_t> pixels(640 * 480 * 4);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const auto c = colour(x, y);
                uint8_t* p = &pixels[(y * 640 + x) * 4];
                p[0] = c[0], p[1] = c[1], p[2] = c[2], p[3] = 255;
            }
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glWindowPos2i(0, 0);
        glDrawPixels(640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }

    static void fill(float r, float g, float b)
    {
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }

    // An effect of the show's type `typeName` on the test's manager.
    std::unique_ptr<Effect> createEffect(const char* typeName) const
    {
        return ::createEffect(EffectContext{resources.get(), 640, 480}, typeName);
    }
};
