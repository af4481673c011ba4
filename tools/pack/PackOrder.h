// The entries of the pack file "pmx.d", in pack order, as the show looks them
// up: exactly these 98, nothing else. "volume.3ds" is listed twice: the pack
// holds that file in two entries and lookups stop at the first. What the
// show reads beyond them (the music, the ".swf" movies, pictures whose names
// the list lacks) stays in the data folder, where a pack run finds it.
#pragma once

#include <string>
#include <vector>

const std::vector<std::string>& packEntryOrder();
