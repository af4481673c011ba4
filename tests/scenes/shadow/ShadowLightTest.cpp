// The shadow-map light: the depth texture's format from the context's depth
// bits, the comparison chosen by capability, the light's view and spot
// direction, and a box shadowing a plane drawn headless and read back.
#include "effects/PBuffer.h"
#include "scenes/shadow/ShadowLight.h"
#include "programs/NvExtensions.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <vector>

using show::Mat4;
using show::Vec3;

TEST(ShadowLightFormat, DepthBitsChooseTheInternalFormat)
{
    const struct {
        int bits;
        GLenum format;
    } rows[] = {
        {16, GL_DEPTH_COMPONENT16_ARB},
        {24, GL_DEPTH_COMPONENT24_ARB},
        {32, GL_DEPTH_COMPONENT32_ARB},
        // No sized format for these: the unsized one, never a type enum.
        {0, GL_DEPTH_COMPONENT},
        {8, GL_DEPTH_COMPONENT},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bits);
        EXPECT_EQ(ShadowLight::depthFormatFor(row.bits), row.format);
    }
}

TEST(ShadowLightFormat, ComparisonFollowsTheDriversCapability)
{
    EXPECT_EQ(ShadowLight::comparisonFor(true), ShadowLight::Comparison::sgixShadow);
    EXPECT_EQ(ShadowLight::comparisonFor(false), ShadowLight::Comparison::arbShadow);
}

using ShadowLightTest = GLTest;

TEST_F(ShadowLightTest, TwentyFourDepthBitsMakeA24BitTextureOfTheMapSize)
{
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    ASSERT_EQ(bits, 24);
    ShadowLight light;
    ASSERT_EQ(light.comparison, ShadowLight::Comparison::arbShadow);   // llvmpipe has no SGIX
    light.createDepthTexture(GL_UNSIGNED_INT);
    GLint format = 0, width = 0, height = 0, compare = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, &compare);
    EXPECT_EQ(format, GL_DEPTH_COMPONENT24_ARB);
    EXPECT_EQ(width, 512);
    EXPECT_EQ(height, 512);
    EXPECT_EQ(compare, GL_COMPARE_R_TO_TEXTURE_ARB);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShadowLightTest, SpotDirectionPointsFromTheTargetToTheLight)
{
    const struct {
        Vec3 position, target, direction;
    } rows[] = {
        {{0, 0, 5}, {0, 0, 0}, {0, 0, 1}},
        {{3, 4, 0}, {3, 0, 0}, {0, 1, 0}},
        {{2, 2, 2}, {2, 2, 2}, {0, 0, 0}},   // standing on its target: zero, no NaN
    };
    for (const auto& row : rows) {
        ShadowLight light;
        light.position = row.position;
        light.target = row.target;
        light.applySpotDirection(1);
        GLfloat d[4] = {9, 9, 9, 9};
        glGetLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, d);
        EXPECT_FLOAT_EQ(d[0], row.direction.x);
        EXPECT_FLOAT_EQ(d[1], row.direction.y);
        EXPECT_FLOAT_EQ(d[2], row.direction.z);
    }
}

TEST(ShadowLightView, LooksFromThePositionTowardsTheTarget)
{
    ShadowLight light;
    for (const Vec3 position : {Vec3(0, 20, 3), Vec3(40, 0, 0), Vec3(-40, 0, 0), Vec3(5, -7, 9)}) {
        light.position = position;
        light.target = Vec3(1, 1, 1);
        const Mat4 view = light.viewMatrix();
        const Vec3 eye = view.transformPoint(position);
        const Vec3 ahead = view.transformPoint(light.target);
        EXPECT_NEAR(eye.length(), 0.0f, 1e-4f);
        EXPECT_NEAR(ahead.x, 0.0f, 1e-4f);
        EXPECT_NEAR(ahead.y, 0.0f, 1e-4f);
        EXPECT_NEAR(ahead.z, -(position - light.target).length(), 1e-4f);
        // A sideways step stays a step of the same length: the view keeps
        // every axis, also for a light on the x axis through its target.
        const Vec3 side = view.transformPoint(light.target + Vec3(0, 0, 1)) - ahead;
        EXPECT_NEAR(side.length(), 1.0f, 1e-4f);
        const Vec3 up = view.transformPoint(light.target + Vec3(0, 1, 0)) - ahead;
        EXPECT_NEAR(up.length(), 1.0f, 1e-4f);
    }
}

namespace {

// A 40 x 40 floor at y = 0 and a 2 x 2 x 2 box floating above its centre.
void drawFloor()
{
    nv::glBegin(GL_QUADS);
    glNormal3f(0, 1, 0);
    glVertex3f(-20, 0, 20);
    glVertex3f(20, 0, 20);
    glVertex3f(20, 0, -20);
    glVertex3f(-20, 0, -20);
    glEnd();
}

void drawBox()
{
    const float c[8][3] = {{-1, 2, -1}, {1, 2, -1}, {1, 4, -1}, {-1, 4, -1},
                           {-1, 2, 1},  {1, 2, 1},  {1, 4, 1},  {-1, 4, 1}};
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 4, 7, 3}, {1, 2, 6, 5}, {3, 7, 6, 2}, {0, 1, 5, 4}};
    nv::glBegin(GL_QUADS);
    for (const auto& face : faces)
        for (int corner : face)
            glVertex3fv(c[corner]);
    glEnd();
}

const Mat4 cameraProjection = Mat4::perspective(45.0f, 640.0f / 480.0f, 1.0f, 200.0f);
const Mat4 cameraView = Mat4::lookAt({0, 30, 30}, {0, 0, 0}, {0, 1, 0});

// The window pixel a world point lands on.
std::array<uint8_t, 4> pixelAt(const Vec3& world)
{
    const Vec3 eye = cameraView.transformPoint(world);
    const Mat4& p = cameraProjection;
    const float w = -eye.z;
    const float x = (p.at(0, 0) * eye.x + p.at(0, 2) * eye.z) / w;
    const float y = (p.at(1, 1) * eye.y + p.at(1, 2) * eye.z) / w;
    return testsupport::readPixel(static_cast<int>((x + 1) * 320), static_cast<int>((y + 1) * 240));
}

class ShadowedFloor : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        surface.create(true);
        light.position = Vec3(0, 20, 0);
        light.farPlane = 60;
        light.createDepthTexture(GL_UNSIGNED_INT);
        light.beginDepthPass(surface);
        drawFloor();
        drawBox();
        light.endDepthPass(surface);
    }

    // The floor as the lit pass draws it: white, modulated by the comparison.
    void drawLitFloor(bool clipped = false)
    {
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(cameraProjection.m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(cameraView.m);
        glEnable(GL_DEPTH_TEST);
        glActiveTexture(GL_TEXTURE0);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, light.depthTexture.get());
        light.setupShadowTexGen();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor4f(1, 1, 1, 1);
        light.clipToFrustum(clipped);
        drawFloor();
        light.clipToFrustum(false);
        glDisable(GL_TEXTURE_2D);
        for (GLenum gen : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
            glDisable(gen);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }

    PBuffer surface{512, 512};
    ShadowLight light;
};

} // namespace

TEST_F(ShadowedFloor, TheCopyCarriesTheSurfacesDepth)
{
    glBindTexture(GL_TEXTURE_2D, light.depthTexture.get());
    std::vector<float> depth(512 * 512, -1.0f);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    const float boxTop = depth[256 * 512 + 256];
    const float floor = depth[20 * 512 + 20];
    EXPECT_GT(boxTop, 0.0f);
    EXPECT_LT(boxTop, floor);     // the box is nearer the light than the floor
    EXPECT_LT(floor, 1.0f);       // the floor was drawn, not left cleared
}

TEST_F(ShadowedFloor, BoxDarkensTheFloorBelowItAndNowhereElse)
{
    drawLitFloor();
    for (const Vec3 below : {Vec3(0, 0, 0.5f), Vec3(-0.6f, 0, 0.6f), Vec3(0.6f, 0, 0.2f)}) {
        SCOPED_TRACE(::testing::Message() << below.x << "," << below.z);
        EXPECT_LT(pixelAt(below)[0], 20);
    }
    // Lit floor all around: full white, no speckles of self-shadowing.
    for (float x = -9.0f; x <= 9.0f; x += 1.5f)
        for (float z = -3.0f; z <= 9.0f; z += 3.0f) {
            if (std::abs(x) < 3.0f && std::abs(z) < 3.0f)
                continue;
            SCOPED_TRACE(::testing::Message() << x << "," << z);
            EXPECT_GT(pixelAt(Vec3(x, 0, z))[0], 245);
        }
}

TEST_F(ShadowedFloor, ClippingKeepsOnlyWhatTheLightSees)
{
    // Seen from 20 above with a 60 degree frustum, the light covers the floor
    // within about 11.5 of the centre; the clip stands a tenth wider.
    drawLitFloor(true);
    EXPECT_GT(pixelAt(Vec3(8, 0, 0))[0], 245);
    EXPECT_LT(pixelAt(Vec3(0, 0, 0.5f))[0], 20);
    EXPECT_EQ(pixelAt(Vec3(16, 0, 2))[0], 0);
    EXPECT_EQ(pixelAt(Vec3(-16, 0, 8))[0], 0);
    // Round the spot, not square: its cone's diagonal corner is left out.
    EXPECT_GT(pixelAt(Vec3(7, 0, -7))[0], 245);
    EXPECT_EQ(pixelAt(Vec3(10, 0, -10))[0], 0);
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE0));
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE0 + 7));
}

TEST_F(ShadowedFloor, UnclippedTheFloorBeyondTheFrustumTakesTheEdgeTexels)
{
    drawLitFloor(false);
    EXPECT_GT(pixelAt(Vec3(16, 0, 2))[0], 245);   // what clipping takes away
}

TEST_F(ShadowedFloor, ClippedPassesStillMeetTheirOwnDepth)
{
    // The lit passes add onto depth laid down unclipped, testing for equal
    // depth: a clipped polygon must not lose pixels to the last bits.
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(cameraProjection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(cameraView.m);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    drawFloor();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glColor4f(1, 1, 1, 1);
    light.clipToFrustum(true);
    drawFloor();
    light.clipToFrustum(false);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    // Every point of the light's spot, which reaches about 11.5 from the centre.
    int missing = 0;
    for (float x = -11.0f; x <= 11.0f; x += 0.25f)
        for (float z = -11.0f; z <= 11.0f; z += 0.25f)
            if (x * x + z * z <= 11.0f * 11.0f && pixelAt(Vec3(x, 0, z))[0] != 255)
                ++missing;
    EXPECT_EQ(missing, 0);
}

TEST_F(ShadowLightTest, TilesOfOneSurfaceGiveEachLightItsOwnMap)
{
    // Two lights in one place, 256-texel maps in opposite corners of a
    // 512 x 512 surface: only the second sees the box.
    PBuffer surface{512, 512};
    surface.create(true);
    ShadowLight lights[2];
    for (ShadowLight& light : lights) {
        light.position = Vec3(0, 20, 0);
        light.farPlane = 60;
        light.mapWidth = light.mapHeight = 256;
        light.createDepthTexture(GL_UNSIGNED_INT);
    }
    surface.makeCurrent();
    glClear(GL_DEPTH_BUFFER_BIT);
    lights[0].beginDepthTile(0, 0);
    drawFloor();
    lights[1].beginDepthTile(256, 256);
    drawFloor();
    drawBox();
    lights[0].copyDepthTile(0, 0);
    lights[1].copyDepthTile(256, 256);
    surface.restore();

    float centre[2], edge[2];
    for (int i = 0; i < 2; ++i) {
        std::vector<float> depth(256 * 256, -1.0f);
        glBindTexture(GL_TEXTURE_2D, lights[i].depthTexture.get());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        centre[i] = depth[128 * 256 + 128];
        edge[i] = depth[10 * 256 + 10];
    }
    EXPECT_LT(edge[0], 1.0f);                // the floor was drawn in both
    EXPECT_NEAR(edge[1], edge[0], 1e-4f);
    EXPECT_NEAR(centre[0], edge[0], 0.02f);  // floor below the first light
    EXPECT_LT(centre[1], centre[0] - 0.01f); // the box above it for the second
}
