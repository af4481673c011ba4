// The graphics capability check: makes sure the driver has the extensions
// the show relies on, turns on vertical synchronisation where it can, and
// asks one known vendor for a different extension set. A driver that lacks
// something essential gets a message naming what is missing, and the
// process ends with exit code 0: there is no fallback rendering path.
//
// The extension text is the GL extension string joined with the names the
// platform layer provides in place of the WGL ones (PlatformExtensions.h).
// Names match whole words only. Entry points come from libepoxy, so
// "loading" an extension is knowing that it is there.
#pragma once

#include <string>

namespace shell {

// The show's extension lists, blank-separated, exactly as it asks for them.
extern const char* const basicExtensions;
extern const char* const swapControlExtensions;
extern const char* const arbFullExtensions;
extern const char* const arbReducedExtensions;
extern const char* const extExtensions;
extern const char* const nvidiaExtensions;

// What a driver offers, and which names of the last checked list it lacks.
class ExtensionSupport {
public:
    // `extensions`: every supported name, blank-separated; `version`: the
    // GL_VERSION string.
    ExtensionSupport(std::string extensions, std::string version);

    // True when every name of `list` is supported; the names that are not
    // become the unsupported list. The pseudo-name "GL_VERSION_1_2" is
    // supported unless the version begins with "1.0" or "1.1".
    bool initExtensions(const char* list);
    // The same question for the vendor lists that leave the unsupported
    // list alone (their messages do not name what is missing).
    bool loadExtensions(const char* list) const;

    // The missing names, separated by single blanks.
    const std::string& unsupported() const { return unsupported_; }

private:
    bool supports(const std::string& name) const;

    std::string extensions_;
    std::string version_;
    std::string unsupported_;
};

struct DriverStrings {
    std::string vendor;
    std::string version;
    std::string extensions;
};

struct CapabilityVerdict {
    bool passed = true;
    std::string message;       // why not, for the message box
    bool printed = false;      // the message also goes to standard output
    bool swapControl = false;  // the swap interval is to be set to 1
};

// The check itself, on the driver's strings; `quality` is the setting of
// the same name (the switch g clears it).
CapabilityVerdict judgeCapabilities(const DriverStrings& driver, bool quality);

// Runs the check on the current context: returns when the show can go on,
// otherwise shows the verdict's message and ends the process.
void checkCapabilities();

} // namespace shell
