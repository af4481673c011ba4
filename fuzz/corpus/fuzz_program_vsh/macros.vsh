vs.1.0
#include "inc.vsh"
#ifdef K
twice r0
m4x4 oPos, v0, K
#else
mov oPos, v0
#endif
macro m a, b
dp3 %a, %b, %sub(%inc(c[a0.x + 2]), 3)
endm
m r1, v1
