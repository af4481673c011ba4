// Semi-Lagrangian self-advection of a periodic velocity field: each cell
// takes the velocity found where its own velocity traces it back over one
// time step, read with bilinear weights from the four cells around that
// point. Back-traced points that leave the grid wrap around on both axes,
// however far out they land, so the field lives on a torus. Velocities are
// in grid widths (u) and grid heights (v) per unit of time. Allocates nothing.
#pragma once

// `u`, `v`: width x height values, row after row. The result goes to `outU`
// and `outV`, rows of `outRowLength` (at least `width`) floats so it can land
// straight in the padded layout of an in-place real transform; the output
// must not overlap the input.
void advectWrapped(const float* u, const float* v, int width, int height, float dt,
                   float* outU, float* outV, int outRowLength);
