#include "scenes/metaballs/MetaballVolume.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Full (255) at depth 16 and empty at depth 0, from an all-dark picture.
ShapeMask darkMask()
{
    const std::vector<unsigned char> rgb(32 * 32 * 3, 0);
    return ShapeMask::fromPicture(rgb.data(), 32, 32);
}

std::vector<unsigned char> rebuilt(MetaballVolume& volume, float tau, VolumeMorph morph = {})
{
    volume.rebuild(tau, morph);
    return {volume.texels(), volume.texels() + MetaballVolume::byteCount};
}

} // namespace

TEST(MetaballVolume, TexelsFollowTheFieldOfTheBalls)
{
    EXPECT_FLOAT_EQ(metaballCentres(2.0f)[2].x, std::cos(0.75f) + std::sin(1.5f));
    MetaballVolume volume(ShapeMask{});
    rebuilt(volume, 0.0f);
    // Balls 1 and 2 start at (0, 2, 0), ball 3 at (1, 0, 2); texel i samples -4 + i / 4.
    const struct { int x, y, z; int rgba[4]; } rows[] = {
        {16, 24, 16, {243, 121, 73, 255}}, // on balls 1 and 2: F = 10 + 10 + 1
        {16, 24, 8, {229, 114, 83, 92}},   // (0, 2, -2): F = 2 + 2 + 10 / 22, inside the alpha ramp
        {0, 0, 0, {0, 0, 0, 0}},           // far corner: below the threshold
    };
    for (const auto& row : rows)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(volume.texel(row.x, row.y, row.z)[c], row.rgba[c]) << row.z << " channel " << c;
}

TEST(MetaballVolume, MorphRunsItsCourseThenEnds)
{
    // With no cloud, the opacity is the mask weighed by the envelope.
    MetaballVolume volume(darkMask());
    volume.tuning.strength = 0.001f;
    VolumeMorph morph;
    morph.start(0.5f); // before the first rebuild, which counts no time
    const struct { bool active; int alpha; } rows[] = {
        {true, 0}, {true, 148}, {true, 241}, {true, 241}, {true, 148}, {true, 0}, {false, 0}};
    for (int i = 0; i < 7; ++i) {
        volume.rebuild(static_cast<float>(1.0 + 0.1 * i), morph);
        EXPECT_EQ(morph.active, rows[i].active) << i;
        EXPECT_EQ(volume.texel(3, 7, 16)[3], rows[i].alpha) << i;
    }
}

TEST(MetaballVolume, MorphPeakSwellsTheBallsFiveFoldAndShowsOnlyTheMask)
{
    MetaballVolume morphing(darkMask()), swollen(ShapeMask{});
    swollen.tuning.strength = 50.0f;
    VolumeMorph morph;
    morphing.rebuild(1.0f, morph);
    morph.start(1.0f);
    const std::vector<unsigned char> a = rebuilt(morphing, 1.5f, morph), b = rebuilt(swollen, 1.5f);
    for (int i = 0; i < MetaballVolume::byteCount; i += 4)
        ASSERT_TRUE(a[i] == b[i] && a[i + 1] == b[i + 1] && a[i + 2] == b[i + 2]) << i;
    EXPECT_EQ(morphing.texel(0, 0, 16)[3], 254);
    EXPECT_EQ(morphing.texel(16, 24, 0)[3], 0);
    EXPECT_NE(swollen.texel(16, 24, 0)[3], 0);
}

TEST(MetaballVolume, SettingsPastTheirRangeStaySound)
{
    // A ceiling at or below twice the threshold leaves no ramp: a hard edge.
    for (float ceiling : {8.0f, 7.0f}) {
        MetaballVolume volume(ShapeMask{});
        volume.tuning = {4.0f, ceiling, 10.0f};
        const std::vector<unsigned char> texels = rebuilt(volume, 0.3f);
        for (int i = 0; i < MetaballVolume::byteCount; i += 4)
            ASSERT_EQ(texels[i + 3], texels[i] ? 255 : 0) << ceiling << " at " << i;
    }
    // No strength under a negative threshold: an empty field, not 0 / 0.
    MetaballVolume empty(ShapeMask{});
    empty.tuning = {-1.0f, 10.0f, 0.0f};
    EXPECT_EQ(rebuilt(empty, 0.3f), std::vector<unsigned char>(MetaballVolume::byteCount, 0));
    // A morph without a positive duration never starts.
    for (float seconds : {0.0f, -1.0f}) {
        MetaballVolume morphed(darkMask()), plain(darkMask());
        VolumeMorph morph;
        morph.start(seconds);
        EXPECT_FALSE(morph.active) << seconds;
        EXPECT_EQ(rebuilt(morphed, 2.0f, morph), rebuilt(plain, 2.0f)) << seconds;
    }
}
