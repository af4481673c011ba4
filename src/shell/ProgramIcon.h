// The program's icon: a five-petal flower in the blues of the loading
// ornament, drawn into pixels when asked (nothing to load from disk).
#pragma once

#include "platform/WindowSystem.h"

namespace shell {

// A 32 x 32 RGBA image with transparent corners.
platform::IconImage programIcon();

} // namespace shell
