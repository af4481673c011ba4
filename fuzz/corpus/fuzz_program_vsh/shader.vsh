vs.1.0
; comment
m4x4 oPos, v0, c0
mov oD0, v3
mov a0.x, v1.x
mov oT0, c[a0.x + 4]
exp r1, v0.x
sub r2, v0, c2
rcp r3, r2
