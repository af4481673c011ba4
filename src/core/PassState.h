// PassState: the depth test, blending and lighting a pass draws with, set
// in one call, so a pass reads as what it needs instead of a run of enables:
//
//     constexpr PassState litPass{PassState::depthLessOrEqual, PassState::additive,
//                                 PassState::lit, PassState::keepDepth};
//     litPass.apply();
//
// apply() sets every field on the current context. With the depth test off
// the depth function and depth writes are left as they are: nothing is
// tested or written then.
#pragma once

struct PassState {
    enum Depth { noDepthTest, depthLess, depthLessOrEqual };
    // opaque: blending off; additive: (GL_ONE, GL_ONE); additiveAlpha:
    // (GL_SRC_ALPHA, GL_ONE); alphaOver: (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA).
    enum Blend { opaque, additive, additiveAlpha, alphaOver };
    enum Lighting { unlit, lit };
    enum DepthWrites { keepDepth, writeDepth };

    Depth depth;
    Blend blend;
    Lighting lighting;
    DepthWrites depthWrites = writeDepth;

    void apply() const;
};
