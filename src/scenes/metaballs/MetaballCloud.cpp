#include "scenes/metaballs/MetaballCloud.h"

#include "programs/NvExtensions.h"
#include "scenes/metaballs/VolumeShells.h"
#include "scenes/metaballs/VolumeSlices.h"

#include <epoxy/gl.h>

#include <utility>

namespace {

constexpr int size = MetaballVolume::size;
constexpr float sliceScale = 20.0f;

// Half a texel, in the cube's units: how far the slices reach past the
// volume on every side.
constexpr float sliceMargin = 0.5f / size;
// The cloud's layers add up: 60 shell faces and 32 slices cross the middle
// of the volume, and at the opacities of an eighth for a shell and a half
// for a slice every core clipped to a flat white disc that a fade turned
// flat grey. Both are taken down by the same share, so the shells keep their
// weight against the slices and the cores keep their colour and fall-off.
constexpr float layerGain = 0.25f;
constexpr float shellOpacity = 0.125f * layerGain;
constexpr float sliceOpacity = 0.5f * layerGain;

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

MetaballCloud::MetaballCloud(ShapeMask mask)
    : volume(std::move(mask)), texture(createTexture(GL_TEXTURE_3D, GL_CLAMP_TO_BORDER))
{
    // Clamped to the border, and the border empty: the linear filter fades
    // the outermost texels to nothing half a texel past the volume, so the
    // cloud does not end on a hard face where the box cuts it.
    const float empty[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glTexParameterfv(GL_TEXTURE_3D, GL_TEXTURE_BORDER_COLOR, empty);
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
    glColor4f(1.0f, 1.0f, 1.0f, shellOpacity);
    glBindTexture(GL_TEXTURE_3D, texture.get());
    glEnable(GL_TEXTURE_3D);
    nv::glCallList(shellList.get());
    glDisable(GL_TEXTURE_3D);

    glColor4f(1.0f, 1.0f, 1.0f, sliceOpacity);
    glMatrixMode(GL_MODELVIEW);
    glScalef(sliceScale, sliceScale, sliceScale);
    // The slices cut a cube grown by the margin, and the texture matrix takes
    // their coordinates back, so the cloud stays where it is and the slices'
    // edges fall where the texture has already faded to the empty border.
    const float grow = 1.0f + 2.0f * sliceMargin;
    glScalef(grow, grow, grow);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.5f, 0.5f, 0.5f);
    glScalef(grow, grow, grow);
    glTranslatef(-0.5f, -0.5f, -0.5f);
    glMatrixMode(GL_MODELVIEW);
    drawSlices();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
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
