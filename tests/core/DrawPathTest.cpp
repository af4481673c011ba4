// Every draw the show makes goes through the vendor layer's draw entries
// (nv::glBegin, nv::glDrawArrays, ...): only they switch the emulated
// fragment stage of the combiners and texture shaders on or off. A plain GL
// draw would silently skip it (or keep a stale one), so a draw made around
// the layer anywhere outside the layer itself fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

// Draw calls not qualified with "nv::", outside comments at the line's start.
const std::regex plainDraw(
    R"((^|[^:\w])(glBegin|glDrawArrays|glDrawElements|glDrawRangeElements|glCallList|glCallLists)\s*\()");

std::vector<std::string> plainDrawsIn(const fs::path& file)
{
    std::vector<std::string> found;
    std::ifstream in(file);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const auto text = line.find_first_not_of(" \t");
        if (text != std::string::npos && line.compare(text, 2, "//") == 0)
            continue;
        if (std::regex_search(line, plainDraw))
            found.push_back(file.string() + ":" + std::to_string(number) + ": " + line);
    }
    return found;
}

TEST(DrawPath, EveryDrawOutsideTheVendorLayerGoesThroughIt)
{
    const fs::path sources = fs::path(GLINT_SOURCE_DIR) / "src";
    std::vector<std::string> plain;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(sources)) {
        const fs::path& file = entry.path();
        if (!entry.is_regular_file() || file.parent_path().filename() == "programs")
            continue;
        if (file.extension() != ".cpp" && file.extension() != ".h")
            continue;
        ++files;
        for (std::string& hit : plainDrawsIn(file))
            plain.push_back(std::move(hit));
    }
    EXPECT_GT(files, 100);
    for (const std::string& hit : plain)
        ADD_FAILURE() << "draw around the vendor layer: " << hit;
}

TEST(DrawPath, ThePatternTellsPlainDrawsFromTheLayersOwn)
{
    const struct {
        const char* line;
        bool plain;
    } rows[] = {
        {"    glBegin(GL_QUADS);", true},
        {"glDrawArrays(GL_TRIANGLES, 0, 3);", true},
        {"    ::glDrawElements(GL_QUADS, n, GL_UNSIGNED_INT, p);", false},
        {"    nv::glBegin(GL_QUADS);", false},
        {"    nv::glCallList(list);", false},
        {"    glCallList(list);", true},
        {"    myglBegin(x);", false},
        {"    glEnd();", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(std::regex_search(row.line, plainDraw), row.plain);
    }
}

} // namespace
