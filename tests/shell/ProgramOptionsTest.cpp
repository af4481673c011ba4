#include "shell/ProgramOptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string contents(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text.push_back(static_cast<char>(c));
    return text;
}

struct Parsed {
    shell::OptionsOutcome outcome;
    shell::ProgramOptions options;
    std::string out, err;
};

Parsed parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "glint");
    Parsed parsed;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    parsed.outcome = shell::parseProgramOptions(static_cast<int>(arguments.size()), arguments.data(), parsed.options,
                                                out, err);
    parsed.out = contents(out);
    parsed.err = contents(err);
    std::fclose(out);
    std::fclose(err);
    return parsed;
}

} // namespace

TEST(ProgramOptionsTest, ArgumentsJoinIntoTheShowsCommandLine)
{
    struct Case {
        std::vector<const char*> arguments;
        const char* commandLine;
        bool headless;
    };
    const Case cases[] = {
        {{}, "", false},
        {{"/w/s3"}, "/w/s3", false},
        {{"/w", "/s3"}, "/w /s3", false},
        {{"w/m", "f25"}, "w/m f25", false},
        {{"--headless"}, "", true},
        // Options are taken out wherever they stand.
        {{"/w", "--headless", "/z2"}, "/w /z2", true},
        // A single dash is no option of the program.
        {{"-w"}, "-w", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        Parsed parsed = parse(c.arguments);
        EXPECT_TRUE(parsed.outcome.run);
        EXPECT_EQ(parsed.options.commandLine, c.commandLine);
        EXPECT_EQ(parsed.options.headless, c.headless);
        EXPECT_EQ(parsed.out, "");
        EXPECT_EQ(parsed.err, "");
    }
}

TEST(ProgramOptionsTest, HelpAndVersionPrintAndEndWithSuccess)
{
    Parsed help = parse({"/w", "--help", "--bogus"});
    EXPECT_FALSE(help.outcome.run);
    EXPECT_EQ(help.outcome.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("usage: glint", 0), 0u);
    EXPECT_NE(help.out.find("--headless"), std::string::npos);
    EXPECT_EQ(help.err, "");

    Parsed version = parse({"--version"});
    EXPECT_FALSE(version.outcome.run);
    EXPECT_EQ(version.outcome.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("glint ") + GLINT_VERSION + "\n");
}

TEST(ProgramOptionsTest, UnknownOptionsAreUsageErrors)
{
    for (const char* option : {"--bogus", "--", "--help=1", "--HEADLESS", "--headless2"}) {
        SCOPED_TRACE(option);
        Parsed parsed = parse({"/w", option, "--help"});
        EXPECT_FALSE(parsed.outcome.run);
        EXPECT_EQ(parsed.outcome.exitStatus, 2);
        EXPECT_EQ(parsed.out, "");
        std::string firstLine = parsed.err.substr(0, parsed.err.find('\n'));
        EXPECT_EQ(firstLine, std::string("glint: unknown option '") + option + "'");
        EXPECT_NE(parsed.err.find("usage: glint"), std::string::npos);
    }
}
