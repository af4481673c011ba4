// The factory of the registry's shared objects (SharedKeys.h): one row per
// name (exact, case-sensitive), each building its object and registering it
// under its key. The shell hands it to the resource manager.
#pragma once

#include <string>

class ResourceManager;

// Builds and registers the object that belongs to `name` and returns it; null,
// without a message, for a name that has no object.
void* createSharedObject(ResourceManager& resources, const std::string& name);
