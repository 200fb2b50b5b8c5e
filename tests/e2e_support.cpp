#include "e2e_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "korvel-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    dir = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
}

void TempDir::write(const std::string& name, const std::string& text) const
{
    std::ofstream f(file(name), std::ios::binary);
    f << text;
}

void TempDir::copyFromSource(const std::string& relative, const std::string& name) const
{
    fs::copy_file(sourcePath(relative), file(name), fs::copy_options::overwrite_existing);
}

std::string TempDir::read(const std::string& name) const
{
    std::ifstream f(file(name), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

bool TempDir::exists(const std::string& name) const
{
    return fs::exists(file(name));
}

std::string sourcePath(const std::string& relative)
{
    return std::string(KORVEL_SOURCE_DIR) + "/" + relative;
}

RunResult runKorvel(const TempDir& dir, const std::string& input, int limitSeconds)
{
    const std::string in = dir.file(".stdin"), out = dir.file(".stdout"), err = dir.file(".stderr");
    {
        std::ofstream f(in, std::ios::binary);
        f << input;
    }
    const std::string command = "cd '" + dir.path() + "' && timeout " + std::to_string(limitSeconds) + " '" +
                                KORVEL_EXE + "' < '" + in + "' > '" + out + "' 2> '" + err + "'";
    const int raw = std::system(command.c_str());
    RunResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = dir.read(".stdout");
    r.err = dir.read(".stderr");
    fs::remove(in);
    fs::remove(out);
    fs::remove(err);
    return r;
}

int countOf(const std::string& text, const std::string& needle)
{
    int count = 0;
    for (auto pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + needle.size()))
        ++count;
    return count;
}
