// Runs the built program as a user would and checks its exit codes, what it
// prints and the files it writes. Runs start in a scratch folder of their
// own, so they find no data there and leave their files in it.
#include "support/AviProbe.h"
#include "support/TestMusic.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <csignal>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct ProcessRun {
    int exitStatus = -1; // -1: ended by a signal
    std::string out, err;
    double seconds = 0.0; // from start to end
};

std::string drain(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    close(fd);
    return text;
}

// Whether the process has its SIGTERM handler in place (Linux /proc).
bool catchesSigterm(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

// Starts glint in `folder` with `arguments` and the environment changed by
// `environment` ("NAME=value" sets, "NAME" removes). With `stopAfterMs` >= 0,
// sends SIGTERM that long after the program can take it; it must end within
// ten seconds.
ProcessRun runGlint(const std::string& folder, const std::vector<std::string>& arguments, int stopAfterMs = -1,
                    const std::vector<std::string>& environment = {})
{
    const auto started = std::chrono::steady_clock::now();
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.push_back(*e);
    for (const std::string& change : environment) {
        std::string name = change.substr(0, change.find('='));
        for (auto it = env.begin(); it != env.end();)
            it = it->compare(0, name.size() + 1, name + "=") == 0 ? env.erase(it) : it + 1;
        if (change.find('=') != std::string::npos)
            env.push_back(change);
    }
    std::string program = std::string(GLINT_BINARY_DIR) + "/glint";
    std::vector<char*> argv{const_cast<char*>(program.c_str())}, envp;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int outPipe[2], errPipe[2];
    EXPECT_EQ(pipe(outPipe), 0);
    EXPECT_EQ(pipe(errPipe), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    ProcessRun run;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    if (stopAfterMs >= 0) {
        for (int waited = 0; !catchesSigterm(pid) && waited < 10000; waited += 10)
            usleep(10000);
        usleep(static_cast<useconds_t>(stopAfterMs) * 1000);
        kill(pid, SIGTERM);
    }
    int status = 0;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; waited += 10) {
        if (waited > 10000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "glint did not end";
            break;
        }
        usleep(10000);
    }
    run.out = drain(outPipe[0]);
    run.err = drain(errPipe[0]);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return run;
}

} // namespace

TEST(GlintProcessTest, HelpAndVersion)
{
    mediatest::ScratchFolder folder;
    ProcessRun help = runGlint(folder.path(""), {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("usage: glint", 0), 0u);
    EXPECT_EQ(help.err, "");

    ProcessRun version = runGlint(folder.path(""), {"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::string("glint ") + GLINT_VERSION + "\n");
}

TEST(GlintProcessTest, UnknownOptionExitsWithTwo)
{
    mediatest::ScratchFolder folder;
    ProcessRun run = runGlint(folder.path(""), {"/w", "--fullscreen"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "glint: unknown option '--fullscreen'");
    EXPECT_NE(run.err.find("usage: glint"), std::string::npos);
}

TEST(GlintProcessTest, HeadlessRunEndsCleanlyOnSigterm)
{
    // The signal comes while the show loads or pauses before its first
    // frame, which it cuts short; the show then ends with the normal
    // teardown.
    mediatest::ScratchFolder folder;
    ProcessRun run = runGlint(folder.path(""), {"--headless", "/w"}, 300);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_LT(run.seconds, 2.5);
    EXPECT_EQ(run.err.find("Kelp GL"), std::string::npos) << run.err; // a windowed run asks nothing
}

TEST(GlintProcessTest, WithoutADisplayTheRunGoesHeadlessWithTheDefaults)
{
    // No switches and no screen: no dialog, the defaults as after OK, so the
    // full-screen fallback is taken without asking anybody.
    mediatest::ScratchFolder folder;
    ProcessRun run = runGlint(folder.path(""), {}, 300, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER=x11"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.err.find("running headless"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Kelp GL: The Requested Fullscreen Mode Is Not Supported By"), std::string::npos) << run.err;
}

// The time offset puts every scene past its end, so whatever scenes the
// show has, each plays one frame and the run stays short.
const char* const pastEveryScene = "t3600";

TEST(GlintProcessTest, HeadlessCaptureFromTheStartWritesAVideoAndEnds)
{
    const struct {
        const char* codec;
        const char* file;
        const char* audioCodec;
    } cases[] = {{"mjpeg", "quillon.avi", "pcm_s16le"}, {"h264", "quillon.mp4", "aac"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codec);
        mediatest::ScratchFolder folder;
        // Music for the sound track (silent this far into the show).
        std::filesystem::create_directory(folder.path("data"));
        std::ofstream(folder.path("data/demo.cfg")) << "mp3 = \"tone.mp3\"\n";
        const std::vector<uint8_t> tone = mediatest::toneMp3(1.0, {{0.0, 1.0}});
        std::ofstream(folder.path("data/tone.mp3"), std::ios::binary)
            .write(reinterpret_cast<const char*>(tone.data()), static_cast<std::streamsize>(tone.size()));
        ProcessRun run =
            runGlint(folder.path(""), {"--headless", "--codec", c.codec, std::string("/m/f25/") + pastEveryScene});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        mediatest::AviContents video = mediatest::probeVideo(folder.path(c.file));
        ASSERT_TRUE(video.readable) << video.error;
        EXPECT_EQ(video.videoCodec, c.codec);
        EXPECT_EQ(video.width, 640);
        EXPECT_EQ(video.height, 480);
        EXPECT_EQ(video.frameRateNum, 25);
        EXPECT_GE(video.framesRgb.size(), 1u);
        EXPECT_EQ(video.audioCodec, c.audioCodec);
        EXPECT_NEAR(video.audioSeconds, video.videoSeconds, 1 / 25.0);
    }
}

TEST(GlintProcessTest, AnUnknownCodecIsRefusedBeforeAnythingRuns)
{
    mediatest::ScratchFolder folder;
    ProcessRun run = runGlint(folder.path(""), {"--headless", "--codec", "vp9", "/m"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              "glint: unknown codec 'vp9' (valid codecs: mjpeg, ffv1, rawvideo, h264)");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path("")));
}

TEST(GlintProcessTest, AShotSavesAPictureAndEndsTheRun)
{
    mediatest::ScratchFolder folder;
    ProcessRun run = runGlint(folder.path(""), {"--headless", "--shot", "0:start.png", "/w"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::ifstream picture(folder.path("start.png"), std::ios::binary);
    char signature[8] = {};
    picture.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    EXPECT_FALSE(std::filesystem::exists(folder.path("quillon.avi")));
}

TEST(GlintProcessTest, TheBenchReportsScenesAndLoading)
{
    mediatest::ScratchFolder folder;
    ProcessRun run = runGlint(folder.path(""), {"--bench=2", std::string("/") + pastEveryScene});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("bench: 2 frames at each of 5 moments of every scene"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nloading total "), std::string::npos) << run.out;
}

TEST(GlintProcessTest, ARunThatMakesNoneOfWhatItWasAskedForFails)
{
    // Without an EGL vendor no GL context can be made; nobody can create a
    // file in /proc, root included. A live show that cannot start keeps the
    // exit code 0 it always had.
    mediatest::ScratchFolder folder;
    const std::vector<std::string> noContext = {"__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json"};
    struct Case {
        const char* what;
        std::string folder;
        std::vector<std::string> arguments, environment;
        int exitStatus;
    };
    const Case cases[] = {
        {"a shot without a context", folder.path(""), {"--headless", "--shot", "0:x.png", "/w"}, noContext, 1},
        {"a capture without a context", folder.path(""), {"--headless", "/m/t3600"}, noContext, 1},
        {"a capture whose file cannot be made", "/proc", {"--headless", "/m/t3600"}, {}, 1},
        {"a live show without a context", folder.path(""), {"--headless", "/w"}, noContext, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProcessRun run = runGlint(c.folder, c.arguments, -1, c.environment);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path("")));
}
