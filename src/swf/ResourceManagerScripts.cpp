// ResourceManager::loadScript lives with the animation player it builds.
#include "resources/ResourceManager.h"

#include "swf/swfScript.h"

std::unique_ptr<swfScript> ResourceManager::loadScript(const char* name) const
{
    if (usePack) {
        // A missing entry has already shown its message box; the script then
        // reports that it has no source.
        FileBytes bytes = readBytes(name);
        return std::make_unique<swfScript>(bytes ? bytes.data.get() : nullptr, static_cast<size_t>(bytes.size));
    }
    char path[pathSize];
    if (!findFile(name, path))
        return std::make_unique<swfScript>(static_cast<const char*>(nullptr));
    return std::make_unique<swfScript>(path);
}
