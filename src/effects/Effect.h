// Effect: the base of everything a script places on a layer (full-screen
// filters, overlays, particle systems, nested scripts). An effect has named
// parameters (typed views onto its own fields, set from text) and key-framed
// vars (owned by its var table), both declared by the effect type's XML
// description, and the five blending parameters every effect carries.
//
// Construction order in every effect type: this base (registers the blending
// parameters with their types), the type's own `registerParam` calls,
// `loadDescription`, then `lookUpVar` for each var the type reads; the
// references it keeps stay valid for the effect's lifetime. Scripts then set
// parameters with `setParams`, add keys, and call `finishLoad` once.
//
// Effects draw into whatever render target is current. Times given to
// `update` and `advance` are beats since the effect's start.
#pragma once

#include "effects/EffectParam.h"
#include "effects/EffectVar.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

class ResourceManager;

class Effect {
public:
    explicit Effect(ResourceManager* resources);
    virtual ~Effect() = default;
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Draws the effect at `localTime`. The timeline ignores the result.
    virtual int update(float localTime) = 0;
    virtual int advance(float localTime);
    virtual int onKey(int key, int x, int y);
    virtual int reserved();
    // Applies "name=value;" assignments; returns how many were accepted.
    virtual int setParams(const char* text);
    // Runs once after the script has configured the effect.
    virtual void finishLoad();

    // Makes `name` refer to `target`; keeps the type it may already have
    // when that suits the storage. The description gives the type.
    void registerParam(const std::string& name, int* target);
    void registerParam(const std::string& name, float* target);
    void registerParam(const std::string& name, float (*target)[3]);
    void registerParam(const std::string& name, float (*target)[4]);
    void registerParam(const std::string& name, std::string* target);
    // Reads the effect type's description from the data directory (always
    // from disk, never from the pack file).
    void loadDescription(ResourceManager* resourceManager, const char* fileName);
    // Reads a description from a path, or from memory; a file that cannot be
    // opened leaves both tables as they are.
    void readDescriptionFile(const char* path);
    void readDescription(const uint8_t* data, size_t size);

    EffectVar* findVar(const std::string& name);
    const EffectVar* findVar(const std::string& name) const;
    // Sets a parameter, or the default of a var of that name when no
    // parameter has it; 0 on success, 1 when nothing took the text.
    int setParam(const std::string& name, const char* text);
    // Creates a var without keys; redeclaring one resets it in place.
    EffectVar& declareVar(const std::string& name, float value, float min, float max);
    // Appends a key to a var; a key for an undeclared var is dropped.
    void addKey(const std::string& varName, const VarKey& key);
    // Computes the tangents of every var's keys.
    void prepareKeys();
    // The var an effect type reads. When its description did not declare
    // it, a note goes to standard error and a default var (0 in [0, 1]) is
    // declared, so the effect still runs.
    EffectVar& lookUpVar(const char* name);

    // Sets the GL blending state from the blending parameters; leaves it
    // untouched when none of them was set.
    void applyBlend() const;

    ResourceManager* resources;
    std::map<std::string, EffectParam> params;
    std::map<std::string, std::unique_ptr<EffectVar>> vars;
    float start = 0.0f; // beats on the script's time line
    float end = 0.0f;
    int blendEnable = -1;
    int blendSrc = -1;
    int blendDst = -1;
    int blendEq = -1;
    float blendCol[4] = {-1.0f, -1.0f, -1.0f, -1.0f};

private:
    EffectParam& registerTarget(const std::string& name, void* target, int storage);
};
