// Key-framed vars: the animatable float inputs of an effect. A var has a
// default value, a range that script key values are mapped into, and keys in
// the order they were added (scripts write them in ascending time; they are
// never sorted). Times are beats of the effect's local time.
//
// After the keys are loaded, `prepareKeys` computes the Kochanek-Bartels
// tangents once; `evaluate` then reads the var at any time. Everything is
// kept in 32-bit floats, as the show's timing is.
#pragma once

#include <vector>

enum VarKeyType {
    keyTCB = 0,    // Kochanek-Bartels curve towards the next key
    keyLinear = 1, // straight line towards the next key
    keyStep = 2,   // holds this key's value until the next key
};

struct VarKey {
    int type = keyTCB; // the type of the segment that starts at this key
    float time = 0.0f;
    float value = 0.0f; // already mapped into the var's range
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;
    float inTangent = 0.0f;  // computed by prepareKeys
    float outTangent = 0.0f; // computed by prepareKeys
};

struct EffectVar {
    float value = 0.0f; // used while the var has no keys
    float min = 0.0f;
    float max = 1.0f;
    std::vector<VarKey> keys;

    // Computes every key's tangents from its neighbours.
    void prepareKeys();
    // The var at local time `t`: its default without keys, the first key's
    // value before the first key, the last key's value from the last key on,
    // and between keys the segment form of the earlier key.
    float evaluate(float t) const;
};
