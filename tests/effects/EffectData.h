// A scratch working directory whose data/ holds the effect descriptions of
// the source tree, with a resource manager reading from it the way the show
// does. Tests add their own pictures and scripts next to the descriptions.
#pragma once

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"

#include <filesystem>
#include <string>

namespace testsupport {

class EffectData {
public:
    EffectData()
    {
        const std::filesystem::path source = std::filesystem::path(GLINT_SOURCE_DIR) / "data";
        for (const char* name : {"letterbox.xml", "pullwarp.xml", "overlayimage.xml", "scriptplayer.xml"})
            directory.write(std::string("data/") + name, readAll((source / name).string()));
        directory.makeCurrent();
        resources.setObjectFactory(createSharedObject);
    }

    // Writes a data file; returns its path relative to the working directory.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        directory.write("data/" + name, bytes);
        return "data/" + name;
    }

    TempDirectory directory;
    ResourceManager resources{false, true};
};

} // namespace testsupport
