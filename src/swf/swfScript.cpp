#include "swf/swfScript.h"

#include "resources/ResourceManager.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

float lerp(float s, float x, float y)
{
    return (1 - s) * x + s * y;
}

void reportMissingSource()
{
    std::printf("screwup in swfScript constructor\n");
}

} // namespace

swfScript::swfScript(const char* path)
{
    if (!path) {
        reportMissingSource();
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::printf("cannot find %s\n", path);
        return;
    }
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    build(image.data(), image.size());
}

swfScript::swfScript(const void* image, size_t size)
{
    if (!image) {
        reportMissingSource();
        return;
    }
    build(static_cast<const uint8_t*>(image), size);
}

void swfScript::build(const uint8_t* image, size_t size)
{
    primary_ = std::make_unique<swfMovie>();
    lookAhead_ = std::make_unique<swfMovie>();
    bool damaged = false;
    if (primary_->load(image, size, &damaged) == 0)
        readProblem_ = "not an uncompressed SWF movie; the animation stands still";
    else if (damaged)
        readProblem_ = "the movie is cut short or damaged; what could be read plays";
    lookAhead_->load(image, size);
    lookAhead_->setCommandsEnabled(false);
}

void swfScript::registerCommand(const std::string& name, swfCommandHandler handler)
{
    if (primary_)
        primary_->registerCommand(name, std::move(handler));
}

void swfScript::registerObjectCallback(const std::string& name, swfObjectCallback callback)
{
    if (primary_)
        primary_->registerObjectCallback(name, std::move(callback));
}

void swfScript::bindColour(int layer, float* out)
{
    assert(out && "a colour binding writes four floats");
    if (primary_)
        bindings_.push_back({swfBinding::colour, layer, out});
}

void swfScript::bindPosition(int layer, float* out)
{
    assert(out && "a position binding writes two floats");
    if (primary_)
        bindings_.push_back({swfBinding::position, layer, out});
}

void swfScript::update(double t)
{
    // A time that is not finite would poison every bound value.
    if (!primary_ || !std::isfinite(t))
        return;
    // A movie without frames (one that failed to load) cannot loop.
    if (loop && primary_->frameCount() > 0)
        t = std::fmod(t, primary_->frameCount());
    primary_->advance(t);
    lookAhead_->advance(t + 1.0);
    float f = static_cast<float>(t - std::floor(t));
    for (const swfBinding& binding : bindings_)
        writeBinding(binding, f);
}

void swfScript::writeBinding(const swfBinding& binding, float f)
{
    const swfLayer* now = primary_->layer(binding.layer);
    if (!now || now->objects.empty()) {
        std::printf("Error in swfScript::update, requested layer has no objects\n");
        return;
    }
    const swfCharacter& a = *now->objects.front();
    const swfLayer* next = lookAhead_->layer(binding.layer);
    const swfCharacter& b = next->objects.empty() ? a : *next->objects.front();
    if (binding.kind == swfBinding::colour) {
        binding.output[0] = lerp(f, a.colour.r, b.colour.r);
        binding.output[1] = lerp(f, a.colour.g, b.colour.g);
        binding.output[2] = lerp(f, a.colour.b, b.colour.b);
        binding.output[3] = lerp(f, a.colour.a, b.colour.a);
    } else {
        binding.output[0] = lerp(f, a.position.x, b.position.x);
        binding.output[1] = lerp(f, a.position.y, b.position.y);
    }
}

void swfScript::rewind()
{
    if (!primary_)
        return;
    primary_->rewind();
    lookAhead_->rewind();
}

std::unique_ptr<swfScript> loadScript(const ResourceManager& resources, const char* name)
{
    const FileBytes bytes = resources.readBytes(name, "cannot find %s\n");
    if (bytes) {
        auto script = std::make_unique<swfScript>(bytes.data.get(), static_cast<size_t>(bytes.size));
        if (script->readProblem() != nullptr)
            std::fprintf(stderr, "%s: %s\n", name, script->readProblem());
        return script;
    }
    // The pack's miss was a box; the script adds that it has no source.
    return resources.usePack ? std::make_unique<swfScript>(nullptr, 0) : std::make_unique<swfScript>();
}
