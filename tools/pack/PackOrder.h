// The entries of the pack file "pmx.d", in pack order, as the show looks them
// up. "volume.3ds" is listed twice: the pack holds that file in two entries
// and lookups stop at the first. The music and the ".swf" movies are not in
// the pack.
#pragma once

#include <string>
#include <vector>

const std::vector<std::string>& packEntryOrder();

// The show's order followed by the other files of `dataDir` that the show's
// own data adds (pictures, scripts), in name order, so the pack carries the
// whole show. The music and ".swf" movies stay out, as in the show's order.
std::vector<std::string> packEntriesFor(const std::string& dataDir);
