// The text form of an animation description (see SwfAnimation.h).
#include "swfwriter/SwfAnimation.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace swfwriter {

namespace {

constexpr int maxFrame = 0xFFFF;
constexpr int maxDepth = 19;

class LineParser {
public:
    explicit LineParser(const std::string& line) : in_(line) {}

    bool word(std::string& out) { return static_cast<bool>(in_ >> out); }

    bool number(double& out, double lo, double hi)
    {
        std::string w;
        if (!word(w))
            return false;
        char* end = nullptr;
        out = std::strtod(w.c_str(), &end);
        return *end == '\0' && std::isfinite(out) && out >= lo && out <= hi;
    }

    bool integer(int& out, int lo, int hi)
    {
        double value;
        if (!number(value, lo, hi) || value != std::floor(value))
            return false;
        out = static_cast<int>(value);
        return true;
    }

    std::string rest()
    {
        std::string text;
        std::getline(in_, text);
        size_t first = text.find_first_not_of(" \t\r");
        size_t last = text.find_last_not_of(" \t\r");
        return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    }

private:
    std::istringstream in_;
};

AnimationLayer* findLayer(Animation& animation, int depth)
{
    for (AnimationLayer& layer : animation.layers)
        if (layer.depth == depth)
            return &layer;
    return nullptr;
}

// One statement; returns an empty string or what is wrong with it.
std::string parseStatement(const std::string& keyword, LineParser& p, Animation& a)
{
    if (keyword == "movie") {
        if (!p.integer(a.width, 1, 6553) || !p.integer(a.height, 1, 6553) || !p.number(a.frameRate, 0, 255))
            return "expected movie WIDTH HEIGHT RATE";
    } else if (keyword == "frames") {
        if (!p.integer(a.frames, 1, maxFrame))
            return "expected frames COUNT (1-65535)";
    } else if (keyword == "layer") {
        AnimationLayer layer;
        if (!p.integer(layer.depth, 0, maxDepth))
            return "expected layer DEPTH (0-19)";
        if (findLayer(a, layer.depth))
            return "layer declared twice";
        std::string option;
        if (p.word(option) && (option != "size" || !p.number(layer.width, 0, 3000) || !p.number(layer.height, 0, 3000)))
            return "expected size WIDTH HEIGHT";
        a.layers.push_back(layer);
    } else if (keyword == "key" || keyword == "remove") {
        int depth, frame;
        if (!p.integer(depth, 0, maxDepth) || !p.integer(frame, 0, maxFrame - 1))
            return "expected " + keyword + " DEPTH FRAME";
        AnimationLayer* layer = findLayer(a, depth);
        if (!layer)
            return "layer not declared";
        if (keyword == "remove") {
            layer->removeFrame = frame;
            return {};
        }
        AnimationKey key;
        key.frame = frame;
        for (std::string option; p.word(option);) {
            if (option == "colour") {
                std::array<double, 4> c;
                for (double& v : c)
                    if (!p.number(v, -63, 63))
                        return "expected colour R G B A";
                key.colour = c;
            } else if (option == "position") {
                std::array<double, 2> xy;
                for (double& v : xy)
                    if (!p.number(v, -50000, 50000))
                        return "expected position X Y";
                key.position = xy;
            } else {
                return "unknown key value '" + option + "'";
            }
        }
        layer->keys.push_back(key);
    } else if (keyword == "command") {
        AnimationCommand command;
        if (!p.integer(command.frame, 0, maxFrame - 1))
            return "expected command FRAME TEXT";
        command.text = p.rest();
        if (command.text.empty())
            return "expected command FRAME TEXT";
        a.commands.push_back(command);
    } else {
        return "unknown statement '" + keyword + "'";
    }
    return {};
}

} // namespace

bool parseAnimation(const std::string& text, Animation& animation, std::string& error)
{
    Animation parsed;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = line.substr(0, line.find('#'));
        LineParser p(line);
        std::string keyword;
        if (!p.word(keyword))
            continue;
        std::string problem = parseStatement(keyword, p, parsed);
        if (problem.empty() && keyword != "command" && keyword != "key" && p.word(keyword))
            problem = "unexpected '" + keyword + "'";
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
    }
    animation = std::move(parsed);
    return true;
}

} // namespace swfwriter
