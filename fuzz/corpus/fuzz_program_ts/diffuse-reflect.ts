texture_2d();
dot_product_cube_map_and_reflect_cube_map_const_eye_1of3(expand(tex0), 0, 0, -1);
dot_product_cube_map_and_reflect_cube_map_const_eye_2of3(expand(tex0));
dot_product_cube_map_and_reflect_cube_map_const_eye_3of3(expand(tex0));
