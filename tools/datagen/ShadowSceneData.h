// The shadow room's mark: the word "GLINT" in a small pixel face, as the
// rows of "k16.jpg" show it. Every '#' becomes one box of the cube logo.
// Shared with the tests, which count the boxes the picture gives.
#pragma once

namespace datagen {

constexpr int shadowMarkWidth = 23;
constexpr int shadowMarkHeight = 7;

// Top row first, as the word reads.
constexpr const char* shadowMarkRows[shadowMarkHeight] = {
    "                       ",
    "  ### #   ### #  # ### ",
    " #    #    #  ## #  #  ",
    " # ## #    #  # ##  #  ",
    " #  # #    #  #  #  #  ",
    "  ### ### ### #  #  #  ",
    "                       ",
};

} // namespace datagen
