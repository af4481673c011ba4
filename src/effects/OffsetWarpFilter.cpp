#include "effects/OffsetWarpFilter.h"

#include "core/ScreenQuad.h"
#include "effects/CopyScreen.h"
#include "effects/OffsetTexture.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace {

const char* const rectangleProgram = "!!TS1.0\ntexture_2d();\noffset_rectangle(tex0,1,0,0,1);\nnop();\nnop();\n";
const char* const planeProgram = "!!TS1.0\ntexture_2d();\noffset_2d(tex0,1,0,0,1);\nnop();\nnop();\n";

} // namespace

OffsetWarpFilter::OffsetWarpFilter(ResourceManager* resources, int width, int height)
    : Effect(resources), width(width), height(height), copy(std::make_unique<CopyScreen>(width, height, false)),
      useTextureShader(nv::textureShadersAvailable()), useRectangle(copy->target != GL_TEXTURE_2D),
      offsetMatrix{static_cast<float>(width), 0.0f, 0.0f, static_cast<float>(height)}
{
    if (!useTextureShader)
        return;
    program = glGenLists(1);
    nv::glNewList(program, GL_COMPILE);
    programs::compileProgramText(useRectangle ? rectangleProgram : planeProgram, 0);
    nv::glEndList();
    programs::printProgramTextErrors();
}

OffsetWarpFilter::~OffsetWarpFilter()
{
    if (program != 0)
        nv::glDeleteLists(program, 1);
}

void OffsetWarpFilter::ownGrid(std::unique_ptr<OffsetTexture> newGrid)
{
    ownedGrid = std::move(newGrid);
    grid = ownedGrid.get();
}

void OffsetWarpFilter::borrowGrid(OffsetTexture* newGrid)
{
    ownedGrid.reset();
    grid = newGrid;
}

int OffsetWarpFilter::update(float amount)
{
    if (grid == nullptr)
        return 0;
    grid->regenerate(amount);
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    glClear(GL_COLOR_BUFFER_BIT);
    setOrthoBox(0, width, 0, height, 0, 10);
    if (useTextureShader && program != 0)
        drawTextureShader();
    else
        drawStrips();
    return 0;
}

void OffsetWarpFilter::drawTextureShader()
{
    nv::glActiveTexture(GL_TEXTURE0);
    glEnable(grid->target);
    if (!grid->texture)
        grid->uploadOffsets();
    glBindTexture(grid->target, grid->texture.get());
    nv::glActiveTexture(GL_TEXTURE1);
    copy->enable();
    copy->bind();
    nv::glEnable(GL_TEXTURE_SHADER_NV);
    nv::glCallList(program);
    if (useRectangle) {
        nv::glActiveTexture(GL_TEXTURE1);
        nv::glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, offsetMatrix);
    }
    const float s = useRectangle ? static_cast<float>(width) : 1.0f;
    const float t = useRectangle ? static_cast<float>(height) : 1.0f;
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    nv::glBegin(GL_QUADS);
    glMultiTexCoord2f(GL_TEXTURE0, 0, 0); glMultiTexCoord2f(GL_TEXTURE1, 0, 0); glVertex2f(0, 0);
    glMultiTexCoord2f(GL_TEXTURE0, 1, 0); glMultiTexCoord2f(GL_TEXTURE1, s, 0); glVertex2f(w, 0);
    glMultiTexCoord2f(GL_TEXTURE0, 1, 1); glMultiTexCoord2f(GL_TEXTURE1, s, t); glVertex2f(w, h);
    glMultiTexCoord2f(GL_TEXTURE0, 0, 1); glMultiTexCoord2f(GL_TEXTURE1, 0, t); glVertex2f(0, h);
    glEnd();
    nv::glActiveTexture(GL_TEXTURE1);
    copy->disable();
    nv::glActiveTexture(GL_TEXTURE0);
    glDisable(grid->target);
    nv::glDisable(GL_TEXTURE_SHADER_NV);
}

void OffsetWarpFilter::drawStrips()
{
    // The strips need entries one column right of the last and one row
    // below the last; the grid repeats its last column and row there. The
    // offsets are in picture units, as the texture-shader path reads them.
    const int columns = grid->columns, rows = grid->rows;
    const float s = useRectangle ? static_cast<float>(width) : 1.0f;
    const float t = useRectangle ? static_cast<float>(height) : 1.0f;
    const float rowHeight = static_cast<float>(height) / static_cast<float>(rows);
    copy->enable();
    copy->bind();
    for (int i = 0; i < rows; ++i) {
        nv::glBegin(GL_QUAD_STRIP);
        for (int k = 0; k <= columns; ++k) {
            const float x = static_cast<float>(k) * static_cast<float>(width) / static_cast<float>(columns);
            const int column = std::min(k, columns - 1);
            for (int row : {i, i + 1}) {
                const float y = static_cast<float>(row) * rowHeight;
                const int entry = std::min(row, rows - 1);
                glTexCoord2f((x / static_cast<float>(width) + grid->dx(column, entry)) * s,
                             (y / static_cast<float>(height) + grid->dy(column, entry)) * t);
                glVertex2f(x, y);
            }
        }
        glEnd();
    }
    copy->disable();
}
