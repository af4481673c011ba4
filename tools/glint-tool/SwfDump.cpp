// glint-tool swf FILE: prints what the show's SWF reader makes of a movie, as
// JSON: header values, characters, fonts, and per frame the display events
// and text commands.
#include "glint-tool/ToolCommand.h"

#include "swf/swfMovie.h"
#include "swf/swfReader.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

template <typename T, typename Format>
std::string jsonArray(const std::vector<T>& values, Format format)
{
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i)
        out += (i ? ", " : "") + format(values[i]);
    return out + "]";
}

std::string number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string numbers(const std::vector<double>& values)
{
    return jsonArray(values, number);
}

std::string characterJson(const swfCharacter& c)
{
    std::string out = "{\"id\": " + std::to_string(c.id);
    out += ", \"kind\": \"" + std::string(c.kind == swfCharacter::shape ? "shape" : "text") + "\"";
    out += ", \"colour\": " + numbers({c.baseColour.r, c.baseColour.g, c.baseColour.b, c.baseColour.a});
    out += ", \"bounds\": " + numbers({c.boundsMin.x, c.boundsMin.y, c.boundsMax.x, c.boundsMax.y});
    if (auto shape = dynamic_cast<const swfShape*>(&c)) {
        out += ", \"penBox\": " + numbers({shape->penBoxMin.x, shape->penBoxMin.y, shape->penBoxMax.x, shape->penBoxMax.y});
    } else if (auto text = dynamic_cast<const swfText*>(&c)) {
        std::vector<double> glyphs(text->glyphIndices.begin(), text->glyphIndices.begin() + text->glyphCount);
        out += ", \"textOffset\": " + numbers({text->textOffset.x, text->textOffset.y});
        out += ", \"font\": " + std::to_string(text->fontId) + ", \"height\": " + std::to_string(text->height);
        out += ", \"offsets\": " + numbers({double(text->xOffset), double(text->yOffset)});
        out += ", \"glyphs\": " + numbers(glyphs);
    }
    return out + "}";
}

std::string eventJson(const swfDisplayEvent& e)
{
    const swfMatrix& m = e.matrix;
    const swfColourTransform& t = e.colourTransform;
    return "{\"code\": " + std::to_string(e.code) + ", \"flags\": " + std::to_string(e.flags) +
           ", \"depth\": " + std::to_string(e.depth) + ", \"character\": " + std::to_string(e.characterId) +
           ", \"matrix\": " +
           numbers({double(m.scaleX), double(m.rotateSkew0), double(m.rotateSkew1), double(m.scaleY),
                    double(m.translateX), double(m.translateY)}) +
           ", \"cxform\": " +
           numbers({double(t.alphaMultiply), double(t.alphaAdd), double(t.redMultiply), double(t.redAdd),
                    double(t.greenMultiply), double(t.greenAdd), double(t.blueMultiply), double(t.blueAdd)}) +
           "}";
}

void printMovie(const swfMovie& movie)
{
    std::printf("{\n  \"width\": %d,\n  \"height\": %d,\n  \"frameRate\": %g,\n  \"frameCount\": %d,\n",
                movie.width(), movie.height(), movie.frameRate(), movie.frameCount());
    std::printf("  \"characters\": [");
    const char* separator = "\n";
    for (const auto& entry : movie.characters()) {
        std::printf("%s    %s", separator, characterJson(*entry.second).c_str());
        separator = ",\n";
    }
    std::printf("\n  ],\n  \"fonts\": [");
    separator = "\n";
    for (const auto& entry : movie.fonts()) {
        const swfFont& f = entry.second;
        std::printf("%s    {\"id\": %d, \"name\": %s, \"codes\": %s}", separator, f.id, jsonString(f.name).c_str(),
                    jsonString(f.codes).c_str());
        separator = ",\n";
    }
    std::printf("\n  ],\n  \"frames\": [");
    separator = "\n";
    for (const swfFrame& frame : movie.frames()) {
        std::printf("%s    {\"events\": %s,\n     \"commands\": %s}", separator, jsonArray(frame.events, eventJson).c_str(),
                    jsonArray(frame.commands, [](const swfCommand& c) { return jsonString(c.text); }).c_str());
        separator = ",\n";
    }
    std::printf("\n  ]\n}\n");
}

int dumpSwf(const tool::Args& args)
{
    if (args.size() != 1)
        return tool::usageError("swf");
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "glint-tool swf: cannot read %s\n", args[0].c_str());
        return 1;
    }
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    swfMovie movie;
    swfReader reader(movie, image.data(), image.size());
    if (!reader.result()) {
        std::fprintf(stderr, "glint-tool swf: %s is not an uncompressed SWF file (signature FWS, length 21 or more)\n",
                     args[0].c_str());
        return 1;
    }
    if (reader.damaged())
        std::fprintf(stderr, "glint-tool swf: %s is damaged: reading stopped early or a tag was dropped\n",
                     args[0].c_str());
    printMovie(movie);
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("swf", "swf FILE - print an SWF movie as the show's reader sees it, as JSON", dumpSwf);
