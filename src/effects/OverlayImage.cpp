#include "effects/OverlayImage.h"

#include "core/ScreenQuad.h"
#include "core/StateBox.h"
#include "resources/ImageDecoding.h"
#include "resources/ResourceManager.h"
#include "resources/TextureUpload.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

// Reads and decodes a data file as a JPEG or as a PNG (alpha kept).
bool decodeDataImage(const ResourceManager& resources, const std::string& name, bool jpeg,
                     resources::DecodedImage& image)
{
    const FileBytes bytes = resources.readBytes(name.c_str());
    if (!bytes)
        return false;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data.get());
    const size_t size = static_cast<size_t>(bytes.size);
    return jpeg ? resources::decodeJpeg(data, size, image) : resources::decodePng(data, size, 0, image);
}

// The three characters after the last ".", lower-cased; empty without a dot.
std::string extensionOf(const std::string& name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return "";
    std::string extension = name.substr(dot + 1, 3);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

} // namespace

ScreenBox markedBox(const resources::DecodedImage& image)
{
    int left = image.width, right = -1, top = image.height, bottom = -1;
    const int channels = image.channels;
    for (int row = 0; row < image.height; ++row)
        for (int column = 0; column < image.width; ++column) {
            const uint8_t* texel = &image.pixels[(static_cast<size_t>(row) * image.width + column) * channels];
            bool white = true;
            for (int c = 0; c < channels; ++c)
                white = white && texel[c] == 255;
            if (white)
                continue;
            left = std::min(left, column);
            right = std::max(right, column);
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
    if (right < 0)
        return {0, 0, 0, 0};
    return {left, image.height - 1 - bottom, right - left + 1, bottom - top + 1};
}

OverlayImage::OverlayImage(ResourceManager* resources) : Effect(resources), target(GL_TEXTURE_2D)
{
    registerParam("filename", &filename);
    loadDescription(resources, "overlayimage.xml");
    r = &lookUpVar("r");
    g = &lookUpVar("g");
    b = &lookUpVar("b");
    a = &lookUpVar("a");
}

OverlayImage::~OverlayImage()
{
    if (texture != 0)
        glDeleteTextures(1, &texture);
}

void OverlayImage::finishLoad()
{
    if (!filename.empty() && texture == 0) {
        const std::string extension = extensionOf(filename);
        if (extension != "jpg" && extension != "png")
            std::printf("COverlayImage: neither PNG nor JPEG\n");
        else if (!loadPicture(extension == "jpg"))
            std::printf("COverlayImage: error loading %s\n", filename.c_str());
    }
    prepareKeys();
}

bool OverlayImage::loadPicture(bool jpeg)
{
    resources::DecodedImage image;
    if (resources == nullptr || !decodeDataImage(*resources, filename, jpeg, image))
        return false;
    // The texture is made on the target the upload chooses for the
    // picture's real size, so a picture of any size lands in it whole.
    width = image.width;
    height = image.height;
    marked = markedBox(image);
    markedKnown = true;
    target = resources::textureTargetFor(width, height);
    glGenTextures(1, &texture);
    glBindTexture(target, texture);
    if (resources::uploadImage(image))
        return true;
    glDeleteTextures(1, &texture);
    texture = 0;
    return false;
}

int OverlayImage::update(float localTime)
{
    const float colour[4] = {r->evaluate(localTime), g->evaluate(localTime), b->evaluate(localTime),
                             a->evaluate(localTime)};
    glColor4fv(colour);
    applyBlend();
    glDisable(GL_DEPTH_TEST);
    drawOverScreen();
    return 0;
}

void OverlayImage::drawOverScreen() const
{
    setOrthoBox(0, 1, 1, 0, 0, 10); // y grows downwards, like the picture's rows
    if (texture != 0) {
        glEnable(target);
        glBindTexture(target, texture);
    }
    // A 2-D texture is addressed in [0, 1], a rectangle texture in texels.
    const bool rectangle = target != GL_TEXTURE_2D;
    const float s = rectangle ? static_cast<float>(width) : 1.0f;
    const float t = rectangle ? static_cast<float>(height) : 1.0f;
    drawQuad({0, 0, 1, 1}, {0, 0, s, t});
    if (texture != 0)
        glDisable(target);
}

void OverlayImage::drawMarkedPart() const
{
    if (!markedKnown || texture == 0) {
        drawOverScreen();
        return;
    }
    if (marked.width == 0)
        return;
    const StateBox saved(GL_SCISSOR_BIT);
    const int x0 = std::max(marked.x - 1, 0), y0 = std::max(marked.y - 1, 0);
    const int x1 = std::min(marked.x + marked.width + 1, width), y1 = std::min(marked.y + marked.height + 1, height);
    scissorToStretchedBox({x0, y0, x1 - x0, y1 - y0}, width, height);
    drawOverScreen();
}
