// A scratch folder for file tests, removed with everything in it at the end
// of the test; optionally the working directory for the test's duration (the
// show resolves "data/" relative to it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace testsupport {

class TempDirectory {
public:
    TempDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "glint-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot make a scratch folder";
        path_ = pattern;
    }
    ~TempDirectory()
    {
        if (!previous_.empty())
            std::filesystem::current_path(previous_);
        // A death test's child that ends through exit() runs the static
        // folders' destructors too: only the process that made the folder
        // removes it.
        if (getpid() != owner_)
            return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Writes `bytes` to `name` (folders made as needed) and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::path target = path_ / name;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << bytes;
        return target.string();
    }

    void makeCurrent()
    {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
    pid_t owner_ = getpid();
};

inline std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace testsupport
