// A scratch working directory for scene tests: data/ holds whichever of the
// show's generated files a test copies in and the movies it writes itself,
// with a resource manager that reads it as the show does and builds the
// registry's shared objects.
#pragma once

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "swfwriter/SwfAnimation.h"

#include <initializer_list>
#include <string>

namespace testsupport {

class SceneData {
public:
    explicit SceneData(std::initializer_list<const char*> showFiles = {})
    {
        // The key-effect accents every scene fetches read these.
        for (const char* name : {"bweffect.rcp", "inverseeffect.rcp", "avg.rcp"})
            copyShowFile(name);
        for (const char* name : showFiles)
            copyShowFile(name);
        directory.makeCurrent();
        resources.setObjectFactory(createSharedObject);
    }

    void copyShowFile(const char* name) const
    {
        directory.write(std::string("data/") + name,
                        readAll(std::string(GLINT_BINARY_DIR) + "/data/" + name));
    }

    void writeMovie(const std::string& name, const swfwriter::Animation& movie) const
    {
        const std::vector<uint8_t> bytes = swfwriter::writeAnimation(movie);
        directory.write("data/" + name, std::string(bytes.begin(), bytes.end()));
    }

    TempDirectory directory;
    ResourceManager resources{false, true};
};

// A key of one layer: a colour, a position, or both.
inline swfwriter::AnimationKey colourKey(int frame, double r, double g, double b, double a)
{
    swfwriter::AnimationKey key;
    key.frame = frame;
    key.colour = std::array<double, 4>{r, g, b, a};
    return key;
}

inline swfwriter::AnimationKey positionKey(int frame, double x, double y)
{
    swfwriter::AnimationKey key;
    key.frame = frame;
    key.position = std::array<double, 2>{x, y};
    return key;
}

} // namespace testsupport
