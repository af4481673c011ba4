#include "shell/ShotRequest.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace shell {

bool parseShotRequest(const std::string& text, ShotRequest& shot, std::string& error)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) {
        error = "expected SECONDS:FILE.png";
        return false;
    }
    const std::string number = text.substr(0, colon);
    char* end = nullptr;
    errno = 0;
    const double seconds = std::strtod(number.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(seconds) || seconds < 0.0) {
        error = "'" + number + "' is no number of seconds (0 or more)";
        return false;
    }
    shot.seconds = seconds;
    shot.file = text.substr(colon + 1);
    return true;
}

} // namespace shell
