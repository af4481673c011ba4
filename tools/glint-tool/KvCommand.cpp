// glint-tool kv FILE KEY float|int|floats|string: runs one key-value lookup on
// a settings file. The lookup's own messages come first; the last line is the
// result (floats separated by single blanks, a missing string as "(null)").
#include "glint-tool/ToolCommand.h"
#include "resources/KeyValue.h"

#include <cstdio>
#include <cstring>

namespace {

// More floats than this cannot fit in a value of kvMaxFloatsValue characters.
constexpr int maxFloats = kvMaxFloatsValue / 2 + 1;

bool printLookup(const char* text, const char* key, const std::string& type)
{
    if (type == "float") {
        if (kvFind(text, key) < 0) {
            std::printf("%g\n", -1.0);
            return false;
        }
        std::printf("%g\n", kvFloat(text, key));
    } else if (type == "int") {
        if (kvFind(text, key) < 0) {
            std::printf("%d\n", -1);
            return false;
        }
        std::printf("%d\n", kvInt(text, key));
    } else if (type == "floats") {
        float values[maxFloats];
        int count = kvFloats(text, key, values);
        if (count < 0) {
            std::printf("%d\n", count);
            return false;
        }
        for (int i = 0; i < count; ++i)
            std::printf(i ? " %g" : "%g", values[i]);
        std::printf("\n");
    } else {
        std::unique_ptr<char[]> value = kvString(text, key);
        std::printf("%s\n", value ? value.get() : "(null)");
        return value != nullptr;
    }
    return true;
}

int runKv(const tool::Args& args)
{
    if (args.size() != 3)
        return tool::usageError("kv");
    const std::string& type = args[2];
    if (type != "float" && type != "int" && type != "floats" && type != "string")
        return tool::usageError("kv");
    std::unique_ptr<char[]> text = readTextFile(args[0].c_str());
    bool found = printLookup(text.get(), args[1].c_str(), type);
    std::fflush(stdout);
    return found ? 0 : 1;
}

} // namespace

GLINT_TOOL_COMMAND("kv", "kv FILE KEY float|int|floats|string - look a key up in a key-value file", runKv);
