// MaterialState: the fixed-function material a scene lights its geometry
// with (shading, polygon mode, two-sided lighting, line width and the
// material colours), described by a key-value text instead of code.
//
// `readMaterial` starts from the GL defaults below every time, then takes
// the keys the text has; `applyMaterial` sets all of it on the current
// context (front and back faces).
#pragma once

class ResourceManager;

class MaterialState {
public:
    MaterialState() { reset(); }

    // Reads `textOrName` as a data file name through `resources`, or as the
    // text itself when `resources` is null. Absent keys keep their initial
    // values (a file with absent keys is named on standard error after the
    // lookups' own lines); an unreadable file leaves every field initial.
    void readMaterial(const char* textOrName, const ResourceManager* resources);
    void applyMaterial() const;
    void reset();

    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess;
    unsigned shadeModel;
    unsigned polygonMode;
    int twoSided;
    int lineWidth; // -1: leave the line width alone
};
