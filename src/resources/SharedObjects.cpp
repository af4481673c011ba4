#include "resources/SharedObjects.h"

#include "resources/ResourceManager.h"

void* createSharedObject(ResourceManager& /*resources*/, const std::string& /*name*/)
{
    // No shared object classes exist yet; every name is unknown.
    return nullptr;
}
