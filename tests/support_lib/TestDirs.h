#pragma once
#include <string>

namespace kvtest {

// A fresh temporary folder, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// The folders the test process runs in, set by the shared test main.
std::string userDir();
std::string systemDir();

// Writes bytes to a file, creating parent folders; throws on failure.
void writeFile(const std::string& path, const std::string& bytes);
// Reads a whole file; throws when it cannot be opened.
std::string readFile(const std::string& path);

// The folder where the build lays out the runtime (kvvd2021.exe and friends).
std::string runtimeDir();
// The source tree's top folder.
std::string sourceDir();

bool isRoot();

}  // namespace kvtest
