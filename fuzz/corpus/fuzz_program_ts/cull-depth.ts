cull_fragment(LESS_THAN_ZERO, GEQUAL_TO_ZERO, LESS_THAN_ZERO, GEQUAL_TO_ZERO);
texture_2d();
dot_product_depth_replace_1of2(tex1);
dot_product_depth_replace_2of2(expand(tex1));
