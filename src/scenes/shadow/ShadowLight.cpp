#include "scenes/shadow/ShadowLight.h"

#include "core/TextureUnits.h"
#include "effects/PBuffer.h"

#include <cmath>
#include <cstring>

namespace {

void loadMatrix(GLenum mode, const show::Mat4& matrix)
{
    glMatrixMode(mode);
    glLoadIdentity();
    glMultMatrixf(matrix.m);
}

show::Mat4 lightFrustum(const ShadowLight& light)
{
    return show::Mat4::perspective(light.fov, 1.0f, light.nearPlane, light.farPlane);
}

} // namespace

ShadowLight::Comparison ShadowLight::comparisonFor(bool hasSgixShadow)
{
    return hasSgixShadow ? Comparison::sgixShadow : Comparison::arbShadow;
}

GLenum ShadowLight::depthFormatFor(int depthBits)
{
    switch (depthBits) {
    case 16: return GL_DEPTH_COMPONENT16_ARB;
    case 24: return GL_DEPTH_COMPONENT24_ARB;
    case 32: return GL_DEPTH_COMPONENT32_ARB;
    default: return GL_DEPTH_COMPONENT;
    }
}

ShadowLight::ShadowLight() : comparison(comparisonFor(epoxy_has_gl_extension("GL_SGIX_shadow")))
{
    std::memcpy(lightView, show::Mat4::identity().m, sizeof lightView);
    std::memcpy(lightProjection, lightFrustum(*this).m, sizeof lightProjection);
}

void ShadowLight::bindDepthTexture()
{
    if (!depthTexture)
        depthTexture = genTexture();
    glBindTexture(GL_TEXTURE_2D, depthTexture.get());
}

void ShadowLight::createDepthTexture(GLenum type)
{
    depthTexture = createTexture(GL_TEXTURE_2D);
    if (comparison == Comparison::arbShadow) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_SGIX, 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_OPERATOR_SGIX, GL_TEXTURE_LEQUAL_R_SGIX);
    }
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(depthFormatFor(depthBits)), mapWidth, mapHeight, 0,
                 GL_DEPTH_COMPONENT, type, nullptr);
}

show::Mat4 ShadowLight::viewMatrix() const
{
    const show::Vec3 z = (position - target).normalized();
    show::Vec3 x = show::Vec3(1.0f, 0.0f, 0.0f).cross(z).normalized();
    // A light on the reference axis through its target would get a view
    // without an x axis, flattening its whole depth map onto one line; the
    // vertical serves as the reference there instead.
    if (x.length() == 0.0f)
        x = show::Vec3(0.0f, 1.0f, 0.0f).cross(z).normalized();
    const show::Vec3 y = z.cross(x);
    show::Mat4 view = show::Mat4::identity();
    const show::Vec3 rows[3] = {x, y, z};
    for (int r = 0; r < 3; ++r) {
        view.m[0 * 4 + r] = rows[r].x;
        view.m[1 * 4 + r] = rows[r].y;
        view.m[2 * 4 + r] = rows[r].z;
        view.m[3 * 4 + r] = -rows[r].dot(position);
    }
    return view;
}

void ShadowLight::beginDepthPass(PBuffer& surface)
{
    surface.makeCurrent();
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    beginDepthTile(0, 0);
}

void ShadowLight::beginDepthTile(int x, int y)
{
    glViewport(x, y, mapWidth, mapHeight);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(offsetFactor, offsetUnits);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDisable(GL_LIGHTING);

    loadMatrix(GL_PROJECTION, lightFrustum(*this));
    glGetFloatv(GL_PROJECTION_MATRIX, lightProjection);
    const show::Mat4 view = viewMatrix();
    std::memcpy(lightView, view.m, sizeof lightView);
    loadMatrix(GL_MODELVIEW, view);
}

void ShadowLight::endDepthPass(PBuffer& surface)
{
    copyDepthTile(0, 0);
    surface.restore();
}

void ShadowLight::copyDepthTile(int x, int y)
{
    // The surface's own context: its unit 0 may have been left elsewhere.
    glActiveTexture(GL_TEXTURE0);
    bindDepthTexture();
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, y, mapWidth, mapHeight);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void ShadowLight::setupShadowTexGen() const
{
    enableEyeLinearTexGen();
    // Light clip space [-1, 1] onto the depth map's [0, 1].
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.5f, 0.5f, 0.5f);
    glScalef(0.5f, 0.5f, 0.5f);
    glMultMatrixf(lightFrustum(*this).m);
    glMultMatrixf(lightView);
    glMatrixMode(GL_MODELVIEW);
}

void ShadowLight::applySpotDirection(int index) const
{
    const show::Vec3 d = (position - target).normalized();
    const GLfloat direction[3] = {d.x, d.y, d.z};
    glLightfv(GL_LIGHT0 + index, GL_SPOT_DIRECTION, direction);
}

void ShadowLight::applyPosition(int index, float x, float y, float z) const
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    const GLfloat at[4] = {x, y, z, 1.0f};
    glLightfv(GL_LIGHT0 + index, GL_POSITION, at);
    glPopMatrix();
}

void ShadowLight::clipToFrustum(bool on) const
{
    if (!on) {
        for (int i = 0; i < clipPlanes; ++i)
            glDisable(GL_CLIP_PLANE0 + i);
        clipPlanes = 0;
        glDisable(GL_POLYGON_OFFSET_FILL);
        return;
    }
    GLint available = 0;
    glGetIntegerv(GL_MAX_CLIP_PLANES, &available);
    clipPlanes = available >= 8 ? 8 : 4;
    // A clipped polygon is drawn again from new corners, and its depth can
    // come out a step behind what the same polygon laid down unclipped: a
    // pull of one step forward keeps equal-depth passes whole.
    glPolygonOffset(-1.0f, -1.0f);
    glEnable(GL_POLYGON_OFFSET_FILL);
    show::Mat4 view;
    std::memcpy(view.m, lightView, sizeof view.m);
    const show::Mat4 clip = lightFrustum(*this) * view;
    // Eight planes through the light make an octagon around the round spot
    // it throws (four, a square, where the driver has fewer than eight);
    // inside plane k is where w * wider > x cos(k/8 turn) + y sin(k/8 turn).
    // Everything behind the light lies outside one of them, so no near
    // plane is needed. The octagon stands a tenth wider
    // than the spot: a clipped polygon's depth differs from the unclipped
    // one's in the last bits, so its edge must fall where the light adds
    // nothing.
    constexpr double wider = 1.1;
    constexpr double eighthTurn = 0.78539816339744831;
    glMatrixMode(GL_MODELVIEW);
    const int step = clipPlanes == 8 ? 1 : 2;
    for (int i = 0; i < clipPlanes; ++i) {
        const double cx = std::cos(i * step * eighthTurn), cy = std::sin(i * step * eighthTurn);
        GLdouble equation[4];
        for (int c = 0; c < 4; ++c)
            equation[c] = wider * clip.at(3, c) - cx * clip.at(0, c) - cy * clip.at(1, c);
        glClipPlane(GL_CLIP_PLANE0 + i, equation);
        glEnable(GL_CLIP_PLANE0 + i);
    }
}
