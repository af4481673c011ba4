// The generated and copied data in build/data, checked through the show's
// own readers: "demo.cfg" names an MP3 that decodes to the whole track
// without clipping, and every file the opening script asks for (the effect
// descriptions, the pictures, nested scripts, program texts) is there and
// loads.
#include "effects/Effect.h"
#include "effects/ScriptTimeline.h"
#include "platform/Mp3Decoder.h"
#include "resources/ImageDecoding.h"
#include "resources/KeyValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kDataDir = std::string(GLINT_BINARY_DIR) + "/data/";

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Stands in for every effect type while a script is read: it reads the
// type's own description (so a missing or broken one shows as no vars) and
// keeps the file the script names, without needing a GL context.
class ProbeEffect : public Effect {
public:
    explicit ProbeEffect(const std::string& type) : Effect(nullptr), type(type)
    {
        registerParam("filename", &filename);
        std::string description = type;
        std::transform(description.begin(), description.end(), description.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        descriptionFile = description + ".xml";
        readDescriptionFile((kDataDir + descriptionFile).c_str());
    }
    int update(float) override { return 0; }

    std::string type;
    std::string descriptionFile;
    std::string filename;
};

std::vector<ProbeEffect*> probes;

std::unique_ptr<Effect> createProbe(const char* typeName)
{
    // Like the show's factory, which skips a type it has no code for (the
    // script puts such effects last so the others keep their numbers).
    const std::string source = std::string(GLINT_SOURCE_DIR) + "/src/effects/" + typeName + ".cpp";
    if (std::ifstream(source).fail())
        return nullptr;
    auto probe = std::make_unique<ProbeEffect>(typeName);
    probes.push_back(probe.get());
    return probe;
}

// One var each effect type reads, which its description must declare.
const char* varReadBy(const std::string& type)
{
    static const std::map<std::string, const char*> vars = {
        {"LetterBox", "CutAmtY"}, {"PullWarp", "pull"},  {"OverlayImage", "a"}, {"FallingParticles", "imageAlpha"},
        {"Jitter", "jitter"},     {"TV", "interp"},      {"RCFilter", "a"},     {"ScriptPlayer", "t"}};
    return vars.at(type);
}

bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void expectPictureLoads(const std::string& name)
{
    SCOPED_TRACE(name);
    const std::vector<uint8_t> bytes = readBytes(kDataDir + name);
    resources::DecodedImage image;
    const bool decoded = endsWith(name, ".png") ? resources::decodePng(bytes.data(), bytes.size(), 0, image)
                                                : resources::decodeJpeg(bytes.data(), bytes.size(), image);
    ASSERT_TRUE(decoded);
    // Overlays stretch a PNG over the 640 x 480 screen whatever its size;
    // drawn at that size, nothing is scaled.
    EXPECT_EQ(image.width, 640);
    EXPECT_EQ(image.height, 480);
}

// Reads `script` (relative to the data directory, or "data/..." as nested
// scripts name it) and checks everything its effects ask for; returns the
// type names it used.
void expectScriptComplete(const std::string& script, std::set<std::string>& types)
{
    SCOPED_TRACE(script);
    const std::string path = script.rfind("data/", 0) == 0 ? std::string(GLINT_BINARY_DIR) + "/" + script
                                                           : kDataDir + script;
    const std::vector<uint8_t> bytes = readBytes(path);
    ASSERT_FALSE(bytes.empty()) << "missing " << path;
    probes.clear();
    ScriptTimeline timeline(createProbe, bytes.data(), bytes.size(), nullptr);
    ASSERT_FALSE(timeline.events.empty());
    std::vector<std::string> nested;
    for (ProbeEffect* probe : std::vector<ProbeEffect*>(probes)) {
        SCOPED_TRACE(probe->type);
        types.insert(probe->type);
        EXPECT_NE(probe->findVar(varReadBy(probe->type)), nullptr)
            << probe->descriptionFile << " does not declare the var the effect reads";
        if (probe->filename.empty())
            continue;
        if (endsWith(probe->filename, ".png") || endsWith(probe->filename, ".jpg"))
            expectPictureLoads(probe->filename);
        else if (endsWith(probe->filename, ".script"))
            nested.push_back(probe->filename);
        else
            EXPECT_FALSE(readBytes(kDataDir + probe->filename).empty()) << "missing " << probe->filename;
    }
    for (const std::string& name : nested)
        expectScriptComplete(name, types);
}

TEST(OpeningData, DemoConfigNamesTheWholeTrack)
{
    std::unique_ptr<char[]> config = readTextFile((kDataDir + "demo.cfg").c_str());
    ASSERT_NE(config, nullptr);
    std::unique_ptr<char[]> track = kvString(config.get(), "mp3");
    ASSERT_NE(track, nullptr);
    const std::vector<uint8_t> bytes = readBytes(kDataDir + track.get());
    std::string error;
    std::unique_ptr<platform::Mp3Decoder> decoder = platform::Mp3Decoder::open(bytes.data(), bytes.size(), error);
    ASSERT_NE(decoder, nullptr) << error;

    // The show ends on beat 419 and the track rings out four beats more.
    const double seconds = static_cast<double>(decoder->lengthSamples()) / platform::Mp3Decoder::sampleRate;
    EXPECT_NEAR(seconds, 423 * 60.0 / 108.0, 0.05);

    std::vector<int16_t> block(2 * 44100);
    int peak = 0;
    while (size_t got = decoder->read(block.data(), block.size() / 2))
        for (size_t i = 0; i < 2 * got; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(block[i])));
    EXPECT_GT(peak, 32767 * std::pow(10.0, -12.0 / 20));  // not left quiet
    EXPECT_LT(peak, 32767 * std::pow(10.0, -0.5 / 20));   // and never clipping
}

TEST(OpeningData, EverythingTheOpeningAsksForLoads)
{
    std::set<std::string> types;
    expectScriptComplete("intro.script", types);
    // The falling particles bring their own logo pictures and program.
    if (types.count("FallingParticles")) {
        expectPictureLoads("plogo3c.png");
        expectPictureLoads("plogo3b.png");
        EXPECT_FALSE(readBytes(kDataDir + "particle.vpc").empty());
    }
    EXPECT_TRUE(types.count("OverlayImage") && types.count("LetterBox") && types.count("PullWarp"));
}

} // namespace
