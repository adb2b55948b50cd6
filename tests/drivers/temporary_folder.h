#pragma once
// A folder of its own under the system's temporary folder, removed with everything in it when
// the test ends.

#include <filesystem>
#include <string>

namespace quintabel::testing {

class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string string() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

} // namespace quintabel::testing
