#include "resources/KeyValue.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

// What a lookup printed to standard output.
std::string printedBy(const std::function<void()>& lookup)
{
    testing::internal::CaptureStdout();
    lookup();
    return testing::internal::GetCapturedStdout();
}

const std::string notFound(const std::string& key) { return "Error: \"" + key + "\" not found\n"; }
const std::string emptyValue(const std::string& key) { return "Error: key not found in \"" + key + "\"\n"; }

struct NumberCase {
    const char* what;
    const char* text;
    const char* key;
    float expected;     // kvFloat
    std::string message;
};

TEST(KeyValueTest, FloatLookupFollowsTheLineRules)
{
    const NumberCase cases[] = {
        {"value right after =", "a=2\n", "a", 2.0f, ""},
        {"blanks around =", "a   =   2\n", "a", 2.0f, ""},
        {"comment line skipped", "#a = 1\na = 2\n", "a", 2.0f, ""},
        {"only a commented key", "# a = 1\nb = 3\n", "a", -1.0f, notFound("a")},
        {"longer key matches by prefix", "mp3x = 5\n", "mp3", 5.0f, ""},
        {"key not at line start", "xa = 5\n", "a", -1.0f, notFound("a")},
        {"later line", "b = 1\n\nc = 7.25\n", "c", 7.25f, ""},
        {"key line without = takes a later =", "a\nb = 3\n", "a", 3.0f, ""},
        {"empty value before next line", "a =\nb = 3\n", "a", -1.0f, emptyValue("a")},
        {"empty value at the end", "a =  ", "a", -1.0f, emptyValue("a")},
        {"no = anywhere", "a 5\n", "a", -1.0f, emptyValue("a")},
        {"empty text", "", "a", -1.0f, notFound("a")},
        {"case matters", "A = 1\n", "a", -1.0f, notFound("a")},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.what);
        float value = 0;
        EXPECT_EQ(printedBy([&] { value = kvFloat(c.text, c.key); }), c.message);
        EXPECT_FLOAT_EQ(value, c.expected);
    }
}

TEST(KeyValueTest, NullTextOrKeyIsRefused)
{
    EXPECT_EQ(printedBy([] { EXPECT_EQ(kvFind(nullptr, "a"), -1); }), "Invalid text file\n");
    EXPECT_EQ(printedBy([] { EXPECT_EQ(kvFind("a = 1", nullptr), -1); }), "Invalid ID\n");
    EXPECT_EQ(printedBy([] { EXPECT_EQ(kvString(nullptr, "a"), nullptr); }), "Invalid text file\n");
}

TEST(KeyValueTest, FindGivesTheValueIndex)
{
    EXPECT_EQ(kvFind("a = 1\nbb =  22\n", "bb"), 12);
    EXPECT_EQ(kvFind("a=1", "a"), 2);
}

TEST(KeyValueTest, IntegerLookup)
{
    struct { const char* text; int expected; } cases[] = {
        {"n = 42\n", 42}, {"n = 7.9\n", 7}, {"n = -3\n", -3}, {"n = x\n", 0},
        {"n = 99999999999\n", INT_MAX}, {"n = -99999999999\n", INT_MIN}, {"m = 1\n", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int value = 0;
        printedBy([&] { value = kvInt(c.text, "n"); });
        EXPECT_EQ(value, c.expected);
    }
}

TEST(KeyValueTest, FloatListsSplitAtCommas)
{
    struct Case {
        const char* text;
        int count;
        std::vector<float> values;
    } cases[] = {
        {"c = 1, 2.5,3\n", 3, {1.0f, 2.5f, 3.0f}},
        {"c = 1,,2,\n", 2, {1.0f, 2.0f}},
        {"c = ,,,\n", 0, {}},
        {"c = 4\nd = 5, 6\n", 1, {4.0f}},   // the value ends at its line feed
        {"c = 0.5, -1", 2, {0.5f, -1.0f}},
        {"d = 1\n", -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        float out[8] = {};
        int count = 0;
        printedBy([&] { count = kvFloats(c.text, "c", out); });
        ASSERT_EQ(count, c.count);
        for (size_t i = 0; i < c.values.size(); ++i)
            EXPECT_FLOAT_EQ(out[i], c.values[i]) << "element " << i;
    }
}

TEST(KeyValueTest, FloatListStopsAtTheCallersCapacity)
{
    float out[3] = {0, 0, 0};
    EXPECT_EQ(kvFloats("c = 1, 2, 3\n", "c", out, 2), 2);
    EXPECT_FLOAT_EQ(out[1], 2.0f);
    EXPECT_FLOAT_EQ(out[2], 0.0f);
}

TEST(KeyValueTest, FloatListValueLongerThan99CharactersIsRefused)
{
    std::string longest = "c = " + std::string(98, '1') + ",2\n";   // 100 characters
    std::string fits = "c = " + std::string(97, '1') + ",2\n";      // 99 characters
    float out[4];
    int count = 0;
    EXPECT_EQ(printedBy([&] { count = kvFloats(longest.c_str(), "c", out); }),
              "Error: value of \"c\" is longer than 99 characters\n");
    EXPECT_EQ(count, -1);
    EXPECT_EQ(printedBy([&] { count = kvFloats(fits.c_str(), "c", out); }), "");
    EXPECT_EQ(count, 2);
    EXPECT_FLOAT_EQ(out[1], 2.0f);
}

TEST(KeyValueTest, StringLookup)
{
    struct Case {
        const char* what;
        const char* text;
        const char* expected;   // null: refused
        std::string message;
    } cases[] = {
        {"quoted file name", "mp3 = \"music.mp3\"\n", "music.mp3", ""},
        {"escaped quote copied unchanged", "mp3 = \"a\\\"b\"\n", "a\\\"b", ""},
        {"escaped backslash before the closing quote", "mp3 = \"a\\\\\"x\"\n", "a\\\\\"x", ""},
        {"empty string", "mp3 = \"\"\n", "", ""},
        {"first character is taken as the quote", "mp3 = xab\"\n", "ab", ""},
        {"contents may span lines", "mp3 = \"a\nb\"\n", "a\nb", ""},
        {"no closing quote", "mp3 = \"music.mp3\n", nullptr,
         "Error: no closing quote in the value of \"mp3\"\n"},
        {"backslash at the very end", "mp3 = \"ab\\", nullptr,
         "Error: no closing quote in the value of \"mp3\"\n"},
        {"missing key", "wav = \"a\"\n", nullptr, notFound("mp3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<char[]> value;
        EXPECT_EQ(printedBy([&] { value = kvString(c.text, "mp3"); }), c.message);
        if (c.expected) {
            ASSERT_NE(value, nullptr);
            EXPECT_STREQ(value.get(), c.expected);
        } else {
            EXPECT_EQ(value, nullptr);
        }
    }
}

TEST(KeyValueTest, ALookupReportNamesTheFileOnceWhenItsLookupsFail)
{
    const std::string settings = "mt = 1.4\nname = \"open\nlong = " + std::string(120, '1') + "\n";
    float floats[4];
    const struct {
        const char* what;
        const char* fileName;
        std::function<void(const char*)> lookups;
        const char* note;   // standard error
    } cases[] = {
        {"every key found", "hribbon.cfg", [](const char* t) { kvFloat(t, "mt"); }, ""},
        {"one key missing", "hribbon.cfg", [](const char* t) { kvFloat(t, "mt"); kvFloat(t, "refraction"); },
         "hribbon.cfg: 1 key missing or unreadable, the defaults stay\n"},
        {"missing, unclosed and too long", "hribbon.cfg",
         [&floats](const char* t) { kvInt(t, "numRibbons"); kvString(t, "name"); kvFloats(t, "long", floats); },
         "hribbon.cfg: 3 keys missing or unreadable, the defaults stay\n"},
        {"no name", nullptr, [](const char* t) { kvFloat(t, "refraction"); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        {
            const KvLookupReport report(c.fileName);
            c.lookups(settings.c_str());
        }
        // A failure after the report has gone is not its file's.
        kvFloat(settings.c_str(), "refraction");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.note);
        testing::internal::GetCapturedStdout();
    }
}

TEST(KeyValueTest, ReadTextFileTerminatesAtTheLastLineFeed)
{
    testsupport::TempDirectory dir;
    struct Case {
        const char* what;
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"final line feed becomes the terminator", "a = 1\nb = 2\n", "a = 1\nb = 2"},
        {"last line without a line feed keeps its last character", "a = 1\nb = 2", "a = 1\nb = 2"},
        {"carriage returns of line ends dropped", "a = 1\r\nb = \"x\"\r\n", "a = 1\nb = \"x\""},
        {"lone carriage return kept", "a = 1\rb\n", "a = 1\rb"},
        {"a single line feed", "\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = dir.write("t.cfg", c.bytes);
        std::unique_ptr<char[]> text = readTextFile(path.c_str());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text.get()), c.expected);
    }
}

TEST(KeyValueTest, ReadTextFileRefusesWhatIsNotAFileWithText)
{
    testsupport::TempDirectory dir;
    std::string missing = dir.file("missing.cfg");
    std::string empty = dir.write("empty.cfg", "");
    std::string folder = dir.path().string();
    struct { const std::string& path; std::string message; } cases[] = {
        {missing, "File not found: " + missing + "\n"},
        {empty, "Text file is empty: " + empty + "\n"},
        {folder, "File not found: " + folder + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::unique_ptr<char[]> text;
        EXPECT_EQ(printedBy([&] { text = readTextFile(c.path.c_str()); }), c.message);
        EXPECT_EQ(text, nullptr);
    }
}

} // namespace
