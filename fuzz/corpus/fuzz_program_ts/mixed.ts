texture_2d();
offset_2d_scale(tex0, 1, 0, 0, 1, 0.5, 0);
dependent_ar(tex1);
dot_product_2d_1of2(tex2);
