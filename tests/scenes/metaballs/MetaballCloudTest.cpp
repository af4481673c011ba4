// The metaball cloud drawn at full size on black, read back: its cores keep
// a fall-off rather than clipping to white, and the box it is sliced from
// does not show as steps where it cuts the cloud.
#include "scenes/metaballs/MetaballCloud.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class MetaballCloudTest : public GLTest {
protected:
    // The cloud at scene time 0, seen from `eye` on the z axis, added onto
    // black as the scene adds it; the frame's RGBA rows from the bottom.
    std::vector<uint8_t> drawnFrom(float eye, float tau = 0.0f)
    {
        VolumeMorph still;
        cloud->rebuild(tau, still);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(show::Mat4::perspective(60.0f, 4.0f / 3.0f, 0.1f, 100.0f).m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(show::Mat4::lookAt({0, 0, eye}, {0, 0, 0}, {0, 1, 0}).m);
        cloud->draw();
        std::vector<uint8_t> pixels(640 * 480 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    void SetUp() override
    {
        GLTest::SetUp();   // the context first: the cloud makes its texture
        cloud = std::make_unique<MetaballCloud>(ShapeMask{});
    }

    std::unique_ptr<MetaballCloud> cloud;
};

} // namespace

TEST_F(MetaballCloudTest, TheCoresKeepTheirColourInsteadOfClippingToWhite)
{
    // The scene's last camera, at an instant when all three balls are in
    // the middle of the view.
    const std::vector<uint8_t> pixels = drawnFrom(32.5f, 7.0f);
    int white = 0, brightest = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        white += std::min({pixels[i], pixels[i + 1], pixels[i + 2]}) >= 250;
        brightest = std::max({brightest, int(pixels[i]), int(pixels[i + 1]), int(pixels[i + 2])});
    }
    EXPECT_EQ(white, 0);
    EXPECT_GT(brightest, 100);   // still a glowing cloud, not a faint one
}

TEST_F(MetaballCloudTest, TheBoxFadesTheCloudOutInsteadOfCuttingItInSteps)
{
    // A field strong enough to fill the whole box, so the box's faces cut
    // it; looking straight on, the 32 slices' edges fan out across the side
    // of the box. Along the middle row no neighbouring pixels may jump.
    cloud->volume.tuning.threshold = 0.1f;
    cloud->volume.tuning.strength = 40.0f;
    const std::vector<uint8_t> pixels = drawnFrom(40.0f);
    int steepest = 0;
    for (int x = 330; x < 639; ++x) {
        const uint8_t* p = &pixels[(240 * 640 + x) * 4];
        for (int c = 0; c < 3; ++c)
            steepest = std::max(steepest, std::abs(int(p[c]) - int(p[4 + c])));
    }
    EXPECT_GT(pixels[(240 * 640 + 330) * 4], 40);   // the box is filled
    EXPECT_LE(steepest, 12);   // hard slice edges step by 27
}
