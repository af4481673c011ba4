// ResourceManager turns the bare data file names that scenes and effects use
// ("flower.cfg", "fear.jpg", "volume.3ds") into file contents, from one of two
// sources chosen at construction: the data directory on disk ("data/" + name,
// relative to the working directory), or the pack file "pmx.d" behind the
// directory table compiled into the program. The show reads from "data/". A
// pack run still reads from the data directory what the pack does not hold
// (the music, the animation movies, pictures whose names the pack's list
// lacks) and whatever the show opens by path through findFile.
// Loaders of pictures, 3DS scenes and animation scripts are functions over
// readBytes that live beside the code that uses what they load.
//
// Next to files it keeps the registry of named shared objects (render targets,
// filters, the warp grid, `KeyEffects`). The registry owns what is registered:
// objects live until the manager is destroyed and are deleted then, the latest
// registered first, so an object may lean on the ones it fetched while it was
// built. An object replaced under its name stays alive as well, because
// earlier requesters may still hold it. The objects themselves are built by
// the factory the owner hands over (setObjectFactory); the manager knows
// them only by their typed keys (SharedKey.h).
//
// Buffers returned by file reads belong to the caller; nothing is cached.
// Failures print their message (text files) or show a message box (pack) and
// give a null result that callers must accept.
#pragma once

#include "resources/DataFile.h"
#include "resources/PackDirectory.h"
#include "resources/SharedKey.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class ResourceManager;

// Builds and registers the shared object that belongs to `name` and returns
// it; null, without a message, for a name that has no object.
using SharedObjectFactory = void* (*)(ResourceManager& resources, const std::string& name);

class ResourceManager {
public:
    // Size of a path filled by findFile, terminator included.
    static constexpr int pathSize = 100;

    // The show uses (false, true): files from "data/". `directory` is the pack's
    // table (its rows must outlive the manager); tools and tests may pass
    // another one.
    ResourceManager(bool usePack, bool useDataPrefix,
                    const PackDirectory& directory = builtInPackDirectory());
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Where `name` lives on disk: "data/" + name, or dataDir + name without the
    // prefix. A path that would not fit pathSize is refused with a message:
    // `path` is left empty and the result is false.
    bool findFile(const char* name, char (&path)[pathSize]) const;

    // The file as a terminated text: read with readTextFile from the findFile
    // path, or the unpacked pack entry followed by two zero bytes.
    std::unique_ptr<char[]> readFile(const char* name) const;

    // The file's exact bytes from either source: read whole in binary from the
    // findFile path, or the unpacked pack entry. Every loader that takes a
    // memory block builds on this. A file missing from the data directory is
    // reported with `missingFormat` (one "%s" for the path), or quietly when
    // it is null, for loaders that probe or report in words of their own; a
    // pack miss always shows its message box.
    FileBytes readBytes(const char* name, const char* missingFormat = "File not found: %s\n") const;

    // The unpacked size of a pack entry; 0 for an unknown name and always 0 when
    // reading from the data directory.
    int fileSize(const char* name) const;

    // In the pack configuration, every name looked for in the data folder so
    // far (findFile's names: those the pack's table lacks, and those the show
    // opens by path, the effect descriptions, the opening's script and the
    // music), whether or not the folder had them. What a pack run needs
    // beside the pack. Empty in the data-folder configuration.
    const std::set<std::string>& namesOutsideThePack() const { return outsidePack; }

    // Every name findFile resolved since forgetNamesRead(), in either
    // configuration: what a scene read while it was built or drew, so that a
    // change to one of those files can build it again.
    const std::set<std::string>& namesRead() const { return readNames; }
    void forgetNamesRead() { readNames.clear(); }

    // Inserts or replaces the registry entry of `key`; the registry takes the
    // object over and returns it. The entry holds the object as the key's
    // type, so get() hands back exactly what was registered.
    template <class T, class U, class Deleter>
    typename std::unique_ptr<U, Deleter>::pointer registerObject(SharedKey<T> key,
                                                                 std::unique_ptr<U, Deleter> object)
    {
        auto* raw = object.get();
        T* asKeyType = raw;
        keepObject(key.name, asKeyType, std::shared_ptr<void>(std::move(object)));
        return raw;
    }

    // The shared object of `key`, built on the first request; null when it
    // cannot be had.
    template <class T>
    T* get(SharedKey<T> key) { return static_cast<T*>(getObject(key.name)); }

    // The registered object when the registry has a non-null entry for `name`,
    // otherwise the one the factory builds (and registers) for the name. Null
    // for a name the factory does not know, without a factory, and for a name
    // whose object is being built right now: building an object may construct
    // scenes, and every scene construction asks for "KeyEffects", which must
    // not start a second one.
    virtual void* getObject(const std::string& name);

    // The function that builds shared objects on their first request.
    void setObjectFactory(SharedObjectFactory factory) { objectFactory = factory; }

    bool usePack;
    bool useDataPrefix;
    std::string dataDir = "/projects/data/orrin/";
    std::string packName = "pmx.d";
    int screenWidth = 0;
    int screenHeight = 0;

private:
    // True unless the pack is used and holds `name` (or neither source has it).
    bool readsFromDataFolder(const char* name) const;
    void keepObject(const std::string& name, void* raw, std::shared_ptr<void> owner);

    std::map<std::string, void*> objects;
    std::vector<std::shared_ptr<void>> owned;   // in registration order
    std::set<std::string> building;             // names whose factory call is running
    mutable std::set<std::string> outsidePack;  // see namesOutsideThePack()
    mutable std::set<std::string> readNames;    // see namesRead()
    SharedObjectFactory objectFactory = nullptr;
    PackDirectory directory;   // a view of rows that outlive the manager
};
