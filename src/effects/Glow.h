// Glow: the blurred halo the show adds around bright things. A picture is
// drawn into an off-screen surface, blurred there by a blur filter (strokes
// 4 pixels apart, then 2, each way along both axes, or half that), copied
// into a texture and added over the frame.
//
// Per frame: begin() (or beginFromCamera) makes the surface current, the
// caller draws the glow's picture there, blur() blurs and copies it and
// returns to the window's context, add() lays the copy over the frame. The
// surface is a context of its own: the caller sets there every state its
// picture needs. blur() and add() set what they need and put back every
// state they change, each on its own context.
//
// A glow whose surface, copy or filter is missing (a registry without them)
// does nothing at all. It borrows all three from the registry.
#pragma once

#include "core/ScreenQuad.h"

class CombinerFilter;
class CopyScreen;
class PBuffer;

class Glow {
public:
    // The strokes are `firstSpread` surface pixels apart, then half that
    // (at least 1): 2 on a surface half the frame's size blurs as far over
    // the frame as 4 on one of the frame's own size.
    Glow(PBuffer* surface, CopyScreen* copy, CombinerFilter* blur, int firstSpread = 4);

    bool available() const { return surface != nullptr && copy != nullptr && filter != nullptr; }
    // The surface's size in pixels; 0 without a surface.
    int surfaceWidth() const;
    int surfaceHeight() const;

    // Makes the surface current with its viewport the whole surface.
    void begin();
    // begin(), then the window's camera loaded and the surface cleared to
    // transparent black, colour and depth, with depth writes on.
    void beginFromCamera(const float (&projection)[16], const float (&modelView)[16]);
    // Blurs the picture, copies it and makes the window's context current
    // again. With a box (surface pixels), the blur works inside it alone and
    // only it is copied, with a rim for the filtering at its edge: the
    // picture must be black outside it, as the reach of the blur included.
    void blur(const ScreenBox* box = nullptr);
    // Adds the copy over the whole viewport of the current context:
    // blending (GL_SRC_ALPHA, GL_ONE), colour white, depth test and lighting
    // off, through unit 0 with no coordinate generation and the identity
    // texture matrix; held to the blurred box, scaled onto the viewport,
    // when blur() had one.
    void add();

    // How far the blur carries light from a lit pixel, in surface pixels:
    // three taps each way at each of the two spreads.
    int reach() const { return 3 * firstSpread + 3 * secondSpread(); }

private:
    PBuffer* surface;
    CopyScreen* copy;
    CombinerFilter* filter;
    int firstSpread;
    int secondSpread() const { return firstSpread > 1 ? firstSpread / 2 : 1; }
    bool boxed = false;
    ScreenBox box{0, 0, 0, 0};
};
