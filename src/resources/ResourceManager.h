// ResourceManager turns the bare data file names that scenes and effects use
// ("flower.cfg", "fear.jpg", "volume.3ds") into file contents, from one of two
// sources chosen at construction: the data directory on disk ("data/" + name,
// relative to the working directory), or the pack file "pmx.d" behind the
// directory table compiled into the program. The show reads from "data/".
//
// Next to files it keeps the registry of named shared objects (render targets,
// filters, the warp grid, `KeyEffects`). The registry owns what is registered:
// objects live until the manager is destroyed and are deleted then, the latest
// registered first, so an object may lean on the ones it fetched while it was
// built. An object replaced under its name stays alive as well, because
// earlier requesters may still hold it.
//
// Buffers returned by file reads belong to the caller; nothing is cached.
// Failures print their message (text files) or show a message box (pack) and
// give a null result that callers must accept.
#pragma once

#include "resources/File3DS.h"
#include "resources/PackDirectory.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class swfScript;

// A whole data file in memory. `data` is followed by two zero bytes, so a
// text file can be read in place as a terminated string.
struct FileBytes {
    std::unique_ptr<char[]> data;
    int size = 0;   // bytes of the file, without the two zero bytes

    explicit operator bool() const { return data != nullptr; }
};

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
    // findFile path, or the unpacked pack entry. Loaders that take a memory
    // block build on this.
    FileBytes readBytes(const char* name) const;

    // Image loaders. The caller has generated and bound a texture on the
    // target the size rule gives (textureTargetFor). A file that cannot be
    // opened or decoded leaves the bound texture untouched, quietly.
    void loadJpegTexture(const char* name) const;
    // 0 with the size, or -1 when the file cannot be opened or decoded.
    int jpegSize(const char* name, int& width, int& height) const;
    // Fills width x height x 3 bytes of `pixels`; 0, or -1 on failure.
    int jpegPixels(const char* name, unsigned char* pixels) const;
    // `transforms`: libpng's flags (0, or 2 to strip the alpha channel).
    void loadPngTexture(const char* name, int transforms) const;

    // A checked 3DS scene from either source (File3DS.h); null with a "3DS Load error" box when unreadable.
    File3DSPtr load3ds(const char* name) const;

    // A new animation script: read from the findFile path, or from the pack
    // entry's bytes. A file that cannot be found gives a script without movies.
    std::unique_ptr<swfScript> loadScript(const char* name) const;

    // The unpacked size of a pack entry; 0 for an unknown name and always 0 when
    // reading from the data directory.
    int fileSize(const char* name) const;

    // Inserts or replaces the registry entry `name`; the registry takes the
    // object over and returns it.
    template <class T, class Deleter>
    typename std::unique_ptr<T, Deleter>::pointer registerObject(const std::string& name,
                                                                 std::unique_ptr<T, Deleter> object)
    {
        auto* raw = object.get();
        keepObject(name, raw, std::shared_ptr<void>(std::move(object)));
        return raw;
    }

    // The registered object when the registry has a non-null entry for `name`,
    // otherwise the one that createSharedObject builds (and registers) for the
    // name, or null for a name it does not know.
    virtual void* getObject(const std::string& name);

    // getObject for callers that know the type that belongs to the name.
    template <class T>
    T* getObjectAs(const std::string& name) { return static_cast<T*>(getObject(name)); }

    bool usePack;
    bool useDataPrefix;
    std::string dataDir = "/projects/data/orrin/";
    std::string packName = "pmx.d";
    int screenWidth = 0;
    int screenHeight = 0;

private:
    void keepObject(const std::string& name, void* raw, std::shared_ptr<void> owner);

    std::map<std::string, void*> objects;
    std::vector<std::shared_ptr<void>> owned;   // in registration order
    PackDirectory directory;   // a view of rows that outlive the manager
};
