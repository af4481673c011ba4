#include "scenes/funksphere/CreditsOverlay.h"

#include "core/ScreenQuad.h"
#include "core/ShowMath.h"
#include "resources/KeyValue.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"
#include "resources/TextureUpload.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using show::remap;

namespace {

constexpr GLenum rectangle = resources::textureRectangle;

// The "funksphere.cfg" keys of the three credited people.
constexpr const char* personKeys[3] = {"quarkjay", "vellum", "mosswire"};

bool hasImage(const GLTexture& texture)
{
    GLint width = 0;
    glBindTexture(rectangle, texture.get());
    glGetTexLevelParameteriv(rectangle, 0, GL_TEXTURE_WIDTH, &width);
    glBindTexture(rectangle, 0);
    return width > 0;
}

// Read back as the sampler sees it, whatever the file's layout.
TexelCoverage coverageOf(const GLTexture& texture)
{
    if (!texture)
        return {};
    GLint width = 0, height = 0;
    glBindTexture(rectangle, texture.get());
    glGetTexLevelParameteriv(rectangle, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(rectangle, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(rectangle, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(rectangle, 0);
    return TexelCoverage(width, height, rgba);
}

} // namespace

CreditsOverlay::CreditsOverlay(ResourceManager* resources, int columns, int rows) : WarpGrid(resources)
{
    this->columns = columns;
    this->rows = rows;
    coords.assign(static_cast<size_t>((columns + 1) * (rows + 1) * 2), 0.0f);
    std::printf("loading funksphere.cfg\n");
    std::unique_ptr<char[]> cfg = resources != nullptr ? resources->readFile("funksphere.cfg") : nullptr;
    if (cfg == nullptr) {
        std::printf("funksphere.cfg missing: the credits stay empty\n");
        return;
    }
    slots[0] = {loadPicture(cfg.get(), personKeys[0]), loadPicture(cfg.get(), "music"), {}};
    slots[2] = {loadPicture(cfg.get(), personKeys[1]), loadPicture(cfg.get(), "code"), {}};
    slots[3] = {loadPicture(cfg.get(), personKeys[2]), loadPicture(cfg.get(), "support"), {}};
    for (Slot& slot : slots)
        slot.nameCoverage = coverageOf(slot.name);
}

GLTexture CreditsOverlay::loadPicture(const char* cfg, const char* key)
{
    std::unique_ptr<char[]> file = kvString(cfg, key);
    if (file == nullptr) {
        std::printf("funksphere.cfg has no picture for \"%s\"\n", key);
        return {};
    }
    GLTexture texture = createTexture(rectangle);
    loadPictureTexture(*resources, file.get());
    glBindTexture(rectangle, 0);
    if (hasImage(texture))
        return texture;
    std::printf("cannot load the credits picture %s\n", file.get());
    return {};
}

void CreditsOverlay::computeWarp(float a)
{
    const float twoPiF = 2.0f * 3.14159f * frequency;
    const float sinA = std::sin(a), cosA = std::cos(a);
    const float textureHeight = static_cast<float>(3 * height / 4);
    for (int j = 0; j <= rows; ++j) {
        const float y = remap(static_cast<float>(j), 0, static_cast<float>(rows), -0.5f, 0.5f);
        for (int k = 0; k <= columns; ++k) {
            const float x = remap(static_cast<float>(k), 0, static_cast<float>(columns), -0.5f, 0.5f);
            // Wave centres on opposite sides of a circle round the middle.
            const float d1 = std::hypot(x - sinA, y - cosA);
            const float d2 = std::hypot(x + sinA, y + cosA);
            const float r1 = remap(d1, 0, 1.4142135f, 0, twoPiF);
            const float r2 = remap(d2, 0, 1.4142135f, 0, twoPiF);
            const float X = remap(std::cos(a + r1) + std::cos(a + r2), -1, 1, x / 2, x);
            const float Y = remap(std::sin(a + r1) + std::sin(a + r2), -1, 1, y / 2, y);
            float* pair = &coords[(j * (columns + 1) + k) * 2];
            pair[0] = remap(X, -0.5f, 0.5f, 0, static_cast<float>(width));
            pair[1] = remap(Y, -0.5f, 0.5f, 0, textureHeight);
        }
    }
}

int CreditsOverlay::update(float time)
{
    draw(time);
    return 0;
}

void CreditsOverlay::draw(float t)
{
    // Four slots for the six indices the animation may name: 4 and 5 (and
    // anything outside) have nobody to show.
    if (creditIndex < 0 || creditIndex >= slotCount)
        return;
    const Slot& slot = slots[creditIndex];
    const bool picturesExpected = creditIndex != 1;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(rectangle);
    // Black texels must add nothing, which leaving cells out relies on.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const float a = t + 5.0f + (creditIndex == 0 ? 1.570795f : 0.0f);
    glColor4f(1, 1, 1, alpha);
    if (slot.name) {
        glBindTexture(rectangle, slot.name.get());
        computeWarp(a);
        drawLitCells(slot.nameCoverage);
    } else if (!picturesExpected) {
        glBindTexture(rectangle, 0);
        WarpGrid::update(a);   // computeWarp(a), then the whole grid
    }
    if (slot.role || !picturesExpected)
        drawBanner(slot.role.get());
    glBindTexture(rectangle, 0);
    glDisable(rectangle);
}

// The grid as the warp grid draws it, less the cells whose four corners
// (and so every coordinate between them) look up black texels only.
void CreditsOverlay::drawLitCells(const TexelCoverage& coverage)
{
    setOrthoBox(0, width, height, 0, 0, 10);
    const float cellWidth = static_cast<float>(width) / columns;
    const float cellHeight = static_cast<float>(height) / rows;
    cells.clear();
    for (int e = 0; e < rows; ++e) {
        for (int i = 0; i < columns; ++i) {
            const float s[4] = {texS(i, e), texS(i + 1, e), texS(i + 1, e + 1), texS(i, e + 1)};
            const float t[4] = {texT(i, e), texT(i + 1, e), texT(i + 1, e + 1), texT(i, e + 1)};
            if (!coverage.mayBeLit(*std::min_element(s, s + 4), *std::min_element(t, t + 4),
                                   *std::max_element(s, s + 4), *std::max_element(t, t + 4)))
                continue;
            const float x0 = i * cellWidth, x1 = (i + 1) * cellWidth;
            const float y0 = e * cellHeight, y1 = (e + 1) * cellHeight;
            const float x[4] = {x0, x1, x1, x0}, y[4] = {y0, y0, y1, y1};
            for (int c = 0; c < 4; ++c)
                cells.insert(cells.end(), {s[c], t[c], x[c], y[c]});
        }
    }
    drawQuadCorners(cells);
}

void CreditsOverlay::drawBanner(GLuint role) const
{
    glBindTexture(rectangle, role);
    setOrthoBox(0, width, height, 0, 0, 10);
    // The banners are 640 x 80; the quad stays the same on a smaller surface.
    drawQuad({0, 280, 640, 360}, {0, 0, 640, 80});
}

int CreditsOverlay::setName(swfMovie&, const swfArguments& arguments)
{
    if (arguments.size() < 2)
        return 0;
    creditIndex = std::atoi(arguments[1].c_str());
    return 0;
}
