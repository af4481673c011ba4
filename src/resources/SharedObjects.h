// The named shared objects that ResourceManager::getObject creates on first
// request: one row per name (exact, case-sensitive), each building its object
// and registering it with the manager. Rows arrive with the objects' classes.
#pragma once

#include <string>

class ResourceManager;

// Builds and registers the object that belongs to `name` and returns it; null,
// without a message, for a name that has no object.
void* createSharedObject(ResourceManager& resources, const std::string& name);
