#include "TestDirs.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace kvtest {

TempDir::TempDir()
{
    std::string tmpl = (fs::temp_directory_path() / "kvtest-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

static std::string envOr(const char* name, const char* fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

std::string userDir() { return envOr("KORVANTA_USER_DIR", ""); }
std::string systemDir() { return envOr("KORVANTA_SYSTEM_DIR", ""); }
std::string runtimeDir() { return envOr("KV_RUNTIME_DIR", KV_DEFAULT_RUNTIME_DIR); }
std::string sourceDir() { return envOr("KV_SOURCE_DIR", KV_DEFAULT_SOURCE_DIR); }

void writeFile(const std::string& path, const std::string& bytes)
{
    fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool isRoot() { return geteuid() == 0; }

}  // namespace kvtest
