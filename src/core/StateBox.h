// StateBox: a scope that puts the GL state of the current context back as
// it found it. Construction saves the attribute groups `attributes` (with
// the transform group always among them) and the projection and model-view
// matrices; destruction restores the matrices, then the groups, so a pass
// inside the scope may set whatever it needs without the caller's state
// changing.
//
// A pass-sized scope: only the groups named and two matrices, cheap enough
// for several passes a frame (GLStateScope puts back everything, once a
// frame). The context current at destruction must be the one of
// construction.
#pragma once

#include <epoxy/gl.h>

class StateBox {
public:
    explicit StateBox(GLbitfield attributes);
    ~StateBox();
    StateBox(const StateBox&) = delete;
    StateBox& operator=(const StateBox&) = delete;
};
