vs.1.0
macro m a
mov r0, %add(%a, -2147483648)
mov r1, %sub(%a, -2147483648)
endm
m c99999999999999999999
m c[a0.x]
