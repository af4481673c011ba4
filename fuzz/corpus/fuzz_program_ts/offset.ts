texture_2d();
offset_rectangle(tex0,1,0,0,1);
nop();
nop();
