#include "shell/CapabilityCheck.h"

#include <gtest/gtest.h>

using shell::DriverStrings;
using shell::judgeCapabilities;

namespace {

const std::string basicNames = "GL_ARB_multitexture GL_ARB_texture_compression GL_EXT_secondary_color "
                               "GL_EXT_texture_object WGL_ARB_pbuffer WGL_ARB_pixel_format";
const std::string arbFull = "GL_ARB_depth_texture GL_ARB_shadow GL_ARB_shadow_ambient GL_ARB_vertex_program";
const std::string extNames = "GL_EXT_vertex_array GL_EXT_vertex_shader GL_EXT_texture_rectangle";
const std::string nvidiaNames =
    "GL_NV_register_combiners GL_NV_texture_shader GL_NV_texture_rectangle GL_NV_vertex_program";

DriverStrings driver(const std::string& vendor, const std::string& extensions, const std::string& version = "2.1")
{
    return {vendor, version, basicNames + " " + extensions};
}

} // namespace

TEST(CapabilityCheckTest, VendorRules)
{
    const struct {
        const char* name;
        DriverStrings driver;
        bool quality;
        bool passes;
        const char* message;
    } cases[] = {
        {"Mesa needs only the basic set", driver("Mesa/X.org", ""), true, true, ""},
        {"the first vendor with everything", driver("ATI Technologies Inc.", arbFull + " " + extNames), true, true,
         ""},
        {"quality asks it for depth textures and shadows", driver("ATI Technologies Inc.", "GL_ARB_vertex_program " + extNames),
         true, false, "could not setup arb extensions, try unchecking Quality\n"},
        {"g asks only for vertex programs", driver("ATI Technologies Inc.", "GL_ARB_vertex_program " + extNames), false,
         true, ""},
        {"g without vertex programs", driver("ATI Technologies Inc.", extNames), false, false,
         "could not setup arb extensions\n"},
        {"without its EXT set", driver("ATI Technologies Inc.", arbFull), true, false,
         "could not setup ext extensions\n"},
        {"no final full stop: an unknown vendor", driver("ATI Technologies Inc", ""), true, true, ""},
        {"a longer name: an unknown vendor", driver("ATI Technologies Inc. ", ""), true, true, ""},
        {"NVIDIA with its set", driver("NVIDIA Corporation", nvidiaNames), true, true, ""},
        {"the vendor name in capitals or any case", driver("nViDiA", nvidiaNames), true, true, ""},
        {"NVIDIA without combiners", driver("NVIDIA Corporation", "GL_NV_texture_shader GL_NV_texture_rectangle"),
         true, false, "Necessary extensions are not supported: GL_NV_register_combiners GL_NV_vertex_program"},
        {"NVIDIA on OpenGL 1.1", driver("NVIDIA Corporation", nvidiaNames, "1.1.0"), true, false,
         "Necessary extensions are not supported: GL_VERSION_1_2"},
        {"too short for the vendor name", driver("NVIDI", ""), true, true, ""},
        {"not at the start", driver("Not NVIDIA", ""), true, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const shell::CapabilityVerdict verdict = judgeCapabilities(c.driver, c.quality);
        EXPECT_EQ(verdict.passed, c.passes);
        EXPECT_EQ(verdict.message, c.message);
        EXPECT_FALSE(verdict.printed); // only the basic check prints
    }
}

TEST(CapabilityCheckTest, MissingBasicExtensionsAreNamedAndPrinted)
{
    DriverStrings poor{"Mesa", "2.1", "GL_ARB_multitexture GL_EXT_texture_object WGL_ARB_pixel_format"};
    const shell::CapabilityVerdict verdict = judgeCapabilities(poor, true);
    EXPECT_FALSE(verdict.passed);
    EXPECT_TRUE(verdict.printed);
    EXPECT_EQ(verdict.message, "Necessary extensions are not supported: GL_ARB_texture_compression "
                               "GL_EXT_secondary_color WGL_ARB_pbuffer");
}

TEST(CapabilityCheckTest, SwapControlOnlyWhenOffered)
{
    EXPECT_FALSE(judgeCapabilities(driver("Mesa", ""), true).swapControl);
    EXPECT_TRUE(judgeCapabilities(driver("Mesa", "WGL_EXT_swap_control"), true).swapControl);
    // A prefix of the name is not the name.
    EXPECT_FALSE(judgeCapabilities(driver("Mesa", "WGL_EXT_swap_control_tear"), true).swapControl);
}

TEST(CapabilityCheckTest, NamesMatchWholeWordsOnly)
{
    shell::ExtensionSupport support("GL_ARB_shadow_ambient\tGL_ARB_depth_texture_cube\nGL_EXT_x", "4.5 Mesa");
    EXPECT_FALSE(support.initExtensions("GL_ARB_shadow GL_ARB_depth_texture GL_EXT_x"));
    EXPECT_EQ(support.unsupported(), "GL_ARB_shadow GL_ARB_depth_texture");
    EXPECT_TRUE(support.initExtensions("  GL_EXT_x  GL_VERSION_1_2 "));
    EXPECT_EQ(support.unsupported(), "");
    // The vendor lists' loader leaves the unsupported list as it was.
    EXPECT_FALSE(support.initExtensions("GL_NONE_1"));
    EXPECT_FALSE(support.loadExtensions("GL_NONE_2"));
    EXPECT_EQ(support.unsupported(), "GL_NONE_1");
    EXPECT_TRUE(support.loadExtensions(""));
}
