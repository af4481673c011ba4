#include "pack/PackTableSource.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool isPlainName(const char* name)
{
    if (*name == '\0')
        return false;
    for (const char* c = name; *c; ++c)
        if (*c < 0x20 || *c > 0x7e || *c == '"' || *c == '\\')
            return false;
    return true;
}

// Reads ", <number>" at `at`.
bool readNumber(const std::string& line, size_t& at, int32_t& value)
{
    if (at >= line.size() || line[at] != ',')
        return false;
    ++at;
    while (at < line.size() && line[at] == ' ')
        ++at;
    if (at >= line.size() || line[at] < '0' || line[at] > '9')
        return false;
    errno = 0;
    char* end = nullptr;
    long long parsed = std::strtoll(line.c_str() + at, &end, 10);
    if (errno != 0 || parsed > INT32_MAX)
        return false;
    at = static_cast<size_t>(end - line.c_str());
    value = static_cast<int32_t>(parsed);
    return true;
}

// A row line: optional blanks, {"name", offset, packed, unpacked}, and
// optionally a comma.
bool parseRow(const std::string& line, size_t at, PackTable& table)
{
    at += 2;   // past {"
    size_t close = line.find('"', at);
    if (close == std::string::npos)
        return false;
    std::string name = line.substr(at, close - at);
    if (!isPlainName(name.c_str()))
        return false;
    at = close + 1;
    int32_t numbers[3];
    for (int32_t& number : numbers)
        if (!readNumber(line, at, number))
            return false;
    if (at >= line.size() || line[at] != '}')
        return false;
    ++at;
    if (at < line.size() && line[at] == ',')
        ++at;
    if (line.find_first_not_of(" \r", at) != std::string::npos)
        return false;
    table.add(name, numbers[0], numbers[1], numbers[2]);
    return true;
}

} // namespace

bool writePackTableSource(const PackTable& table, const std::string& path)
{
    std::ostringstream out;
    out << "// Made by the pack builder together with the pack file, from the same data:\n"
           "// the pack's directory, one row per entry in pack order. Do not edit.\n"
           "#include \"resources/PackDirectory.h\"\n\n"
           "namespace {\n\n"
           "// name, offset, packed size, unpacked size\n"
           "const PackEntry rows[] = {\n";
    for (int i = 0; i < table.size(); ++i) {
        const PackEntry& row = table.row(i);
        if (!isPlainName(row.name)) {
            std::fprintf(stderr, "cannot write the pack table: unusable file name \"%s\"\n", row.name);
            return false;
        }
        out << "    {\"" << row.name << "\", " << row.offset << ", " << row.packedSize << ", "
            << row.unpackedSize << "},\n";
    }
    out << "    {nullptr, 0, 0, 0},\n};\n\n} // namespace\n\n"
           "const PackDirectory& builtInPackDirectory()\n{\n"
           "    static const PackDirectory directory{rows, "
        << table.size() << "};\n    return directory;\n}\n";

    std::ofstream file(path, std::ios::binary);
    file << out.str();
    if (!file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool readPackTableSource(const std::string& text, PackTable& table)
{
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        size_t at = line.find_first_not_of(' ');
        if (at == std::string::npos || line.compare(at, 2, "{\"") != 0)
            continue;
        if (!parseRow(line, at, table)) {
            std::fprintf(stderr, "malformed pack table row at line %d\n", number);
            return false;
        }
    }
    return true;
}
