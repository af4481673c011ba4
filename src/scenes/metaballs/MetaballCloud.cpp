#include "scenes/metaballs/MetaballCloud.h"

#include "programs/NvExtensions.h"
#include "scenes/metaballs/VolumeShells.h"
#include "scenes/metaballs/VolumeSlices.h"

#include <epoxy/gl.h>

#include <utility>

namespace {

constexpr int size = MetaballVolume::size;
constexpr float sliceScale = 20.0f;

// The shells never change: recorded once, replayed every frame.
GLDisplayList recordShells()
{
    const std::vector<ShellVertex> quads = VolumeShells::quads();
    GLDisplayList list = genList();
    nv::glNewList(list.get(), GL_COMPILE);
    nv::glBegin(GL_QUADS);
    for (const ShellVertex& v : quads) {
        glTexCoord3f(v.texCoord.x, v.texCoord.y, v.texCoord.z);
        glVertex3f(v.position.x, v.position.y, v.position.z);
    }
    glEnd();
    nv::glEndList();
    return list;
}

show::Mat4 currentModelView()
{
    show::Mat4 matrix;
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix.m);
    return matrix;
}

} // namespace

MetaballCloud::MetaballCloud(ShapeMask mask) : volume(std::move(mask)), texture(createTexture(GL_TEXTURE_3D))
{
    glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA, size, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, volume.texels());
    shellList = recordShells();
}

void MetaballCloud::rebuild(float tau, VolumeMorph& morph)
{
    volume.rebuild(tau, morph);
    glBindTexture(GL_TEXTURE_3D, texture.get());
    glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, 0, size, size, size, GL_RGBA, GL_UNSIGNED_BYTE, volume.texels());
}

void MetaballCloud::draw() const
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1.0f, 1.0f, 1.0f, 0.125f);
    glBindTexture(GL_TEXTURE_3D, texture.get());
    glEnable(GL_TEXTURE_3D);
    nv::glCallList(shellList.get());
    glDisable(GL_TEXTURE_3D);

    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glMatrixMode(GL_MODELVIEW);
    glScalef(sliceScale, sliceScale, sliceScale);
    drawSlices();
}

void MetaballCloud::drawSlices() const
{
    const VolumeSlices stack = VolumeSlices::facing(currentModelView());
    glBindTexture(GL_TEXTURE_3D, texture.get());
    glEnable(GL_TEXTURE_3D);
    for (const SlicePolygon& slice : stack.slices) {
        if (slice.count < 3)
            continue;
        nv::glBegin(GL_TRIANGLE_FAN);
        for (int i = 0; i < slice.count; ++i) {
            const SliceVertex& v = slice.vertices[i];
            glTexCoord3f(v.texCoord.x, v.texCoord.y, v.texCoord.z);
            glVertex3f(v.position.x, v.position.y, v.position.z);
        }
        glEnd();
    }
    glDisable(GL_TEXTURE_3D);
}
