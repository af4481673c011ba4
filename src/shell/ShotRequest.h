// A picture of the show asked for on the command line with
// --shot SECONDS:FILE: the first frame whose frame-loop show time reaches
// SECONDS is saved as a PNG file.
#pragma once

#include <string>

namespace shell {

struct ShotRequest {
    double seconds = 0.0;
    std::string file;
};

// Reads "SECONDS:FILE" (SECONDS a finite number not below 0, FILE not
// empty; the first ":" separates them). False with `error` saying why.
bool parseShotRequest(const std::string& text, ShotRequest& shot, std::string& error);

} // namespace shell
