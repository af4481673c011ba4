// The entries of the pack file "pmx.d", in pack order, as the show looks them
// up. "volume.3ds" is listed twice: the pack holds that file in two entries
// and lookups stop at the first. The music and the ".swf" movies are not in
// the pack.
#pragma once

#include <string>
#include <vector>

const std::vector<std::string>& packEntryOrder();
