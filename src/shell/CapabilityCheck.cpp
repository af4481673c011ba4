#include "shell/CapabilityCheck.h"

#include "platform/MessageBox.h"
#include "platform/PlatformExtensions.h"
#include "shell/ShellState.h"
#include "shell/ShowSettings.h"

#include <epoxy/gl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace shell {

const char* const basicExtensions =
    "GL_ARB_multitexture GL_ARB_texture_compression GL_EXT_secondary_color GL_EXT_texture_object  WGL_ARB_pbuffer "
    "WGL_ARB_pixel_format ";
const char* const swapControlExtensions = "WGL_EXT_swap_control ";
const char* const arbFullExtensions = "GL_ARB_depth_texture GL_ARB_shadow GL_ARB_shadow_ambient GL_ARB_vertex_program ";
const char* const arbReducedExtensions = "GL_ARB_vertex_program ";
const char* const extExtensions = "GL_EXT_vertex_array GL_EXT_vertex_shader GL_EXT_texture_rectangle";
const char* const nvidiaExtensions =
    "GL_NV_register_combiners GL_NV_texture_shader GL_VERSION_1_2 GL_NV_texture_rectangle GL_NV_vertex_program ";

namespace {

const char* const checkCaption = "cannot find extensions";

bool isNvidia(const std::string& vendor)
{
    static const char name[] = "nvidia";
    if (vendor.size() < sizeof name - 1)
        return false;
    for (size_t i = 0; i + 1 < sizeof name; ++i)
        if (std::tolower(static_cast<unsigned char>(vendor[i])) != name[i])
            return false;
    return true;
}

CapabilityVerdict failure(std::string message, bool printed = false)
{
    CapabilityVerdict verdict;
    verdict.passed = false;
    verdict.message = std::move(message);
    verdict.printed = printed;
    return verdict;
}

std::string missingMessage(const ExtensionSupport& support)
{
    return "Necessary extensions are not supported: " + support.unsupported();
}

// The first vendor's driver: ARB programs (with depth textures and shadows
// when quality is asked for) and its EXT set.
CapabilityVerdict judgeAti(const ExtensionSupport& support, bool quality)
{
    if (quality && !support.loadExtensions(arbFullExtensions))
        return failure("could not setup arb extensions, try unchecking Quality\n");
    if (!quality && !support.loadExtensions(arbReducedExtensions))
        return failure("could not setup arb extensions\n");
    if (!support.loadExtensions(extExtensions))
        return failure("could not setup ext extensions\n");
    return {};
}

DriverStrings currentDriver()
{
    auto text = [](GLenum name) {
        const GLubyte* value = glGetString(name);
        return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
    };
    DriverStrings driver;
    driver.vendor = text(GL_VENDOR);
    driver.version = text(GL_VERSION);
    driver.extensions = text(GL_EXTENSIONS);
    if (shellState().windowSystem)
        driver.extensions += " " + platform::platformExtensionNames(*shellState().windowSystem);
    return driver;
}

} // namespace

ExtensionSupport::ExtensionSupport(std::string extensions, std::string version)
    : extensions_(" " + std::move(extensions) + " "), version_(std::move(version))
{
    // Drivers separate names with blanks; any other white space counts too.
    for (char& c : extensions_)
        if (std::isspace(static_cast<unsigned char>(c)))
            c = ' ';
}

bool ExtensionSupport::supports(const std::string& name) const
{
    if (name == "GL_VERSION_1_2")
        return version_.compare(0, 3, "1.0") != 0 && version_.compare(0, 3, "1.1") != 0;
    // Whole names only: "GL_ARB_shadow" is not in "GL_ARB_shadow_ambient".
    return extensions_.find(" " + name + " ") != std::string::npos;
}

bool ExtensionSupport::initExtensions(const char* list)
{
    unsupported_.clear();
    std::istringstream names(list);
    std::string name;
    while (names >> name)
        if (!supports(name))
            unsupported_ += (unsupported_.empty() ? "" : " ") + name;
    return unsupported_.empty();
}

bool ExtensionSupport::loadExtensions(const char* list) const
{
    std::istringstream names(list);
    std::string name;
    while (names >> name)
        if (!supports(name))
            return false;
    return true;
}

CapabilityVerdict judgeCapabilities(const DriverStrings& driver, bool quality)
{
    ExtensionSupport support(driver.extensions, driver.version);
    if (!support.initExtensions(basicExtensions))
        return failure(missingMessage(support), true);
    const bool swapControl = support.initExtensions(swapControlExtensions);
    CapabilityVerdict verdict;
    if (driver.vendor == "ATI Technologies Inc.")
        verdict = judgeAti(support, quality);
    else if (isNvidia(driver.vendor) && !support.initExtensions(nvidiaExtensions))
        verdict = failure(missingMessage(support));
    verdict.swapControl = swapControl;
    return verdict;
}

void checkCapabilities()
{
    const CapabilityVerdict verdict = judgeCapabilities(currentDriver(), showSettings().quality);
    if (verdict.passed) {
        if (verdict.swapControl && shellState().windowSystem)
            shellState().windowSystem->setSwapInterval(1);
        return;
    }
    if (verdict.printed) {
        std::printf("%s", verdict.message.c_str());
        std::fflush(stdout);
    }
    platform::showMessage(verdict.message, checkCaption, platform::MessageIcon::Information);
    std::exit(0);
}

} // namespace shell
