// Every entry of the built pack unpacks to a file that the show's own reader
// of its kind accepts: effect descriptions declare types that take their
// defaults, the stylesheet is one, program texts compile without a message,
// scripts build every effect they name from pictures and programs the pack
// holds, pictures decode, settings files find every key on its own line,
// and 3DS files load.
#include "effects/Effect.h"
#include "effects/EffectFactory.h"
#include "effects/ScriptTimeline.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/File3DS.h"
#include "resources/ImageDecoding.h"
#include "resources/KeyValue.h"
#include "resources/PackFile.h"
#include "support/ShowResourcesTest.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <strings.h>
#include <vector>

namespace {

const std::string packPath = std::string(GLINT_BINARY_DIR) + "/pmx.d";

using Attributes = std::map<std::string, std::string>;

// Every start tag of an XML text, with its attributes, in order; `wellFormed`
// is false when expat stops on an error.
struct XmlElements {
    bool wellFormed = false;
    std::vector<std::pair<std::string, Attributes>> elements;
};

XmlElements scanXml(const std::string& text)
{
    XmlElements scan;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &scan);
    XML_SetStartElementHandler(parser, [](void* user, const XML_Char* name, const XML_Char** attributes) {
        Attributes map;
        for (int i = 0; attributes[i]; i += 2)
            map[attributes[i]] = attributes[i + 1];
        static_cast<XmlElements*>(user)->elements.emplace_back(name, map);
    });
    scan.wellFormed = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return scan;
}

// An effect with storage of the declared type for every parameter a
// description declares, so the reader can type and set each of them.
class DeclaredEffect : public Effect {
public:
    explicit DeclaredEffect(const std::vector<Attributes>& values) : Effect(nullptr)
    {
        for (const Attributes& value : values) {
            const std::string& name = value.at("name");
            if (params.count(name))
                continue;   // the blending parameters every effect has
            switch (paramTypeFromKeyword(value.count("type") ? value.at("type").c_str() : "")) {
            case paramInt: registerParam(name, &ints.emplace_back()); break;
            case paramFloat: registerParam(name, &floats.emplace_back()); break;
            case paramArray3: registerParam(name, &triples.emplace_back()); break;
            case paramArray4: registerParam(name, &quadruples.emplace_back()); break;
            case paramString: registerParam(name, &strings.emplace_back()); break;
            default: break;
            }
        }
    }
    int update(float) override { return 0; }

private:
    std::deque<int> ints;
    std::deque<float> floats;
    std::deque<float[3]> triples;
    std::deque<float[4]> quadruples;
    std::deque<std::string> strings;
};

std::vector<Attributes> elementsNamed(const XmlElements& scan, const char* name)
{
    std::vector<Attributes> found;
    for (const auto& [element, attributes] : scan.elements)
        if (element == name)
            found.push_back(attributes);
    return found;
}

std::string extensionOf(const std::string& name)
{
    std::string extension = name.substr(name.rfind('.') + 1);
    for (char& c : extension)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return extension;
}

class PackContentsTest : public ShowResourcesTest {
protected:
    void SetUp() override
    {
        ShowResourcesTest::SetUp();
        resources->screenWidth = 640;
        resources->screenHeight = 480;
    }

    // The unpacked bytes of entry `i` itself (the duplicated name's second
    // entry included).
    static std::string entry(int i)
    {
        const PackEntry& row = builtInPackDirectory().entries[i];
        const FileBytes bytes = readPackEntry(packPath.c_str(), PackDirectory{&row, 1}, row.name);
        return bytes ? std::string(bytes.data.get(), static_cast<size_t>(bytes.size)) : std::string();
    }
    static std::string entry(const char* name)
    {
        const PackEntry* row = builtInPackDirectory().find(name);
        return row ? entry(static_cast<int>(row - builtInPackDirectory().entries)) : std::string();
    }

    void checkDescription(const std::string& text);
    void checkStylesheet(const std::string& text);
    void checkVertexProgram(const std::string& text);
    void checkCombiners(const std::string& text);
    void checkScript(const std::string& name, const std::string& text);
    void checkPicture(const std::string& name, const std::string& bytes);
    void checkBitmap(const std::string& bytes);
    void checkSettings(const std::string& text);
    void check3ds(const std::string& bytes);
};

void PackContentsTest::checkDescription(const std::string& text)
{
    const XmlElements scan = scanXml(text);
    ASSERT_TRUE(scan.wellFormed);
    const std::vector<Attributes> values = elementsNamed(scan, "value"), vars = elementsNamed(scan, "var");
    ASSERT_FALSE(values.empty() && vars.empty()) << "declares nothing";
    DeclaredEffect effect(values);
    effect.readDescription(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    for (const Attributes& value : values) {
        SCOPED_TRACE("value " + value.at("name"));
        const auto found = effect.params.find(value.at("name"));
        ASSERT_TRUE(found != effect.params.end() && found->second.type != paramNone) << "no usable type";
        const EffectParam& param = found->second;
        if (value.count("default")) {
            EXPECT_EQ(param.set(value.at("default").c_str()), 0) << "the default does not fit the type";
        }
    }
    for (const Attributes& declared : vars) {
        SCOPED_TRACE("var " + declared.at("name"));
        const EffectVar* var = effect.findVar(declared.at("name"));
        ASSERT_NE(var, nullptr);
        EXPECT_LT(var->min, var->max);
        EXPECT_GE(var->value, var->min);
        EXPECT_LE(var->value, var->max);
    }
}

void PackContentsTest::checkStylesheet(const std::string& text)
{
    const XmlElements scan = scanXml(text);
    ASSERT_TRUE(scan.wellFormed);
    ASSERT_FALSE(scan.elements.empty());
    EXPECT_EQ(scan.elements[0].first, "xsl:stylesheet");
    const Attributes& root = scan.elements[0].second;
    ASSERT_TRUE(root.count("xmlns:xsl"));
    EXPECT_EQ(root.at("xmlns:xsl"), "http://www.w3.org/1999/XSL/Transform");
    std::vector<std::string> matches;
    for (const Attributes& t : elementsNamed(scan, "xsl:template"))
        if (t.count("match"))
            matches.push_back(t.at("match"));
    // A page for the whole description, and rows for its values and vars.
    for (const char* match : {"/", "value", "var"})
        EXPECT_NE(std::find(matches.begin(), matches.end(), match), matches.end()) << match;
}

void PackContentsTest::checkVertexProgram(const std::string& text)
{
    GLuint program = 0;
    nv::glGenProgramsNV(1, &program);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program);
    programs::compileProgramText(text.c_str(), static_cast<int>(program));
    EXPECT_EQ(programs::programTextErrors()[0], nullptr) << programs::programTextErrors()[0];
    nv::glDeleteProgramsNV(1, &program);
}

void PackContentsTest::checkCombiners(const std::string& text)
{
    EXPECT_EQ(programs::programTextKind(text.c_str()), programs::ProgramTextKind::RegisterCombiners);
    programs::compileProgramText(text.c_str(), 0);
    EXPECT_EQ(programs::programTextErrors()[0], nullptr) << programs::programTextErrors()[0];
}

void PackContentsTest::checkScript(const std::string& scriptName, const std::string& text)
{
    size_t declared = 0;
    for (size_t at = text.find("<effect "); at != std::string::npos; at = text.find("<effect ", at + 1))
        ++declared;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const ScriptTimeline timeline(showEffectFactory({resources.get(), 640, 480}),
                                  reinterpret_cast<const uint8_t*>(text.data()), text.size(), resources.get());
    const std::string messages = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_EQ(messages.find("cannot"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("error"), std::string::npos) << messages;
    EXPECT_EQ(timeline.effects.size(), declared);
    EXPECT_FALSE(timeline.events.empty());
    EXPECT_GT(timeline.length, 0.0f);
    // What the effects load comes from the pack too ("data/" marks a nested
    // script's path); only the opening lays the falling particles' logo,
    // "plogo3b.png", over its frame, a name the pack's list lacks.
    if (scriptName == "intro.script")
        return;
    for (const std::unique_ptr<Effect>& effect : timeline.effects) {
        const auto file = effect->params.find("filename");
        if (file == effect->params.end() || file->second.storage != paramString)
            continue;
        std::string name = *static_cast<const std::string*>(file->second.target);
        if (name.rfind("data/", 0) == 0)
            name = name.substr(5);
        if (!name.empty()) {
            EXPECT_NE(builtInPackDirectory().find(name.c_str()), nullptr) << name << " is not in the pack";
        }
    }
}

void PackContentsTest::checkPicture(const std::string& name, const std::string& bytes)
{
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    resources::DecodedImage image;
    const bool png = extensionOf(name) == "png";
    ASSERT_TRUE(png ? resources::decodePng(data, bytes.size(), 0, image) : resources::decodeJpeg(data, bytes.size(), image));
    EXPECT_GT(image.width, 0);
    EXPECT_GT(image.height, 0);
    EXPECT_EQ(image.pixels.size(), static_cast<size_t>(image.width) * image.height * image.channels);
    // Not a blank: every picture has light and dark parts, or colour.
    const auto [darkest, lightest] = std::minmax_element(image.pixels.begin(), image.pixels.end());
    EXPECT_GT(*lightest - *darkest, 64);
}

uint32_t little(const std::string& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

void PackContentsTest::checkBitmap(const std::string& bytes)
{
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(little(bytes, 2, 4), bytes.size());
    const uint32_t pixelsAt = little(bytes, 10, 4);
    EXPECT_EQ(little(bytes, 14, 4), 40u);   // BITMAPINFOHEADER
    const int width = static_cast<int>(little(bytes, 18, 4)), height = static_cast<int>(little(bytes, 22, 4));
    EXPECT_EQ(little(bytes, 28, 2), 24u);   // bits per pixel
    EXPECT_EQ(little(bytes, 30, 4), 0u);    // BI_RGB: uncompressed
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), pixelsAt + rowBytes * static_cast<size_t>(height));

    // The same picture as "k32b.jpg": rows bottom first and blue, green,
    // red in the bitmap; the JPEG only rounds.
    const std::string jpeg = entry("k32b.jpg");
    resources::DecodedImage image;
    ASSERT_TRUE(resources::decodeJpeg(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size(), image));
    ASSERT_EQ(width, image.width);
    ASSERT_EQ(height, image.height);
    int agreeing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = pixelsAt + static_cast<size_t>(height - 1 - y) * rowBytes + static_cast<size_t>(x) * 3;
            const uint8_t* rgb = &image.pixels[(static_cast<size_t>(y) * width + x) * 3];
            const bool darkInBitmap = static_cast<uint8_t>(bytes[at + 2]) < 100, darkInJpeg = rgb[0] < 100;
            agreeing += darkInBitmap == darkInJpeg && std::abs(int(uint8_t(bytes[at])) - int(rgb[2])) < 64 ? 1 : 0;
        }
    EXPECT_GT(agreeing, width * height * 95 / 100);
}

void PackContentsTest::checkSettings(const std::string& text)
{
    std::istringstream lines(text);
    size_t lineStart = 0;
    int keys = 0;
    for (std::string line; std::getline(lines, line); lineStart += line.size() + 1) {
        if (line.empty() || line[0] == '#')
            continue;
        SCOPED_TRACE(line);
        const size_t equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << "not a key = value line";
        const std::string key = line.substr(0, line.find_first_of(" =\t"));
        ASSERT_FALSE(key.empty());
        // The lookup finds this very line's value, not one of an earlier
        // key that merely begins with this one.
        const size_t value = line.find_first_not_of(" \t", equals + 1);
        ASSERT_NE(value, std::string::npos) << "empty value";
        EXPECT_EQ(kvFind(text.c_str(), key.c_str()), static_cast<int>(lineStart + value));
        if (line[value] == '"') {
            EXPECT_NE(kvString(text.c_str(), key.c_str()), nullptr);
        }
        ++keys;
    }
    EXPECT_GT(keys, 0);
}

void PackContentsTest::check3ds(const std::string& bytes)
{
    std::string problem;
    File3DSPtr file = load3dsFromMemory(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), problem);
    ASSERT_NE(file, nullptr) << problem;
    EXPECT_NE(file->nodes, nullptr) << "no nodes to animate";
    lib3ds_file_eval(file.get(), 0.0f);
}

TEST_F(PackContentsTest, EveryEntryIsAFileOfItsKind)
{
    const std::map<std::string, std::function<void(const std::string&, const std::string&)>> checks = {
        {"xml", [&](const std::string&, const std::string& b) { checkDescription(b); }},
        {"xsl", [&](const std::string&, const std::string& b) { checkStylesheet(b); }},
        {"vp", [&](const std::string&, const std::string& b) { checkVertexProgram(b); }},
        {"vpc", [&](const std::string&, const std::string& b) { checkVertexProgram(b); }},
        {"rcp", [&](const std::string&, const std::string& b) { checkCombiners(b); }},
        {"script", [&](const std::string& n, const std::string& b) { checkScript(n, b); }},
        {"png", [&](const std::string& n, const std::string& b) { checkPicture(n, b); }},
        {"jpg", [&](const std::string& n, const std::string& b) { checkPicture(n, b); }},
        {"bmp", [&](const std::string&, const std::string& b) { checkBitmap(b); }},
        {"cfg", [&](const std::string&, const std::string& b) { checkSettings(b); }},
        {"3ds", [&](const std::string&, const std::string& b) { check3ds(b); }},
    };
    const PackDirectory& directory = builtInPackDirectory();
    ASSERT_GT(directory.count, 0);
    for (int i = 0; i < directory.count; ++i) {
        const std::string name = directory.entries[i].name;
        SCOPED_TRACE(name);
        const std::string bytes = entry(i);
        ASSERT_FALSE(bytes.empty());
        const auto check = checks.find(extensionOf(name));
        ASSERT_NE(check, checks.end()) << "no reader for this kind";
        check->second(name, bytes);
    }
}

} // namespace
