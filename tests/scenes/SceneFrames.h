// Support for the scene tests: a resource manager over the built data
// directory with the shared objects, and frames read back for comparison.
#pragma once

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "support/ShowResourcesTest.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <memory>
#include <vector>

class SceneFrameTest : public ShowResourcesTest {
public:
    void SetUp() override
    {
        ShowResourcesTest::SetUp();
        std::srand(1);
    }

    // The 640 x 480 screen, RGB, bottom row first.
    static std::vector<unsigned char> readScreen()
    {
        std::vector<unsigned char> pixels(640 * 480 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // The contents of a bound texture of that size, in the same layout.
    static std::vector<unsigned char> readTexture(unsigned target)
    {
        std::vector<unsigned char> pixels(640 * 480 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(target, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // Mean absolute difference per channel, 0 to 255.
    static double difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        double sum = 0;
        for (size_t i = 0; i < a.size(); ++i)
            sum += std::abs(int(a[i]) - int(b[i]));
        return sum / a.size();
    }

    static int brightest(const std::vector<unsigned char>& pixels)
    {
        int most = 0;
        for (unsigned char p : pixels)
            most = p > most ? p : most;
        return most;
    }

protected:
};
