// libFuzzer target: the whole dialogue (runDialogue) driven by bytes.
//
// Input layout: DATA "%%\n" SCRIPT. DATA is written as input.txt in a private
// temporary folder, the working folder while the input runs (libFuzzer reads
// its corpus files lazily, so the harness goes back to the folder it started
// in after every input: relative corpus paths keep working; a crash happens
// inside the private folder, so give -artifact_prefix as an absolute path,
// as fuzz/run.sh does); with no
// "%%\n" the whole input is the script and there is no input.txt, so the run
// meets a data file that cannot be opened. The dialogue's input is "N\n9\n"
// followed by SCRIPT: nine resampling iterations unless the script changes
// that. Its output and messages go to a buffer that drops everything.
//
// The run returns its exit status however it ends (x, end of input, a file
// that cannot be opened); an exception that leaves runDialogue, a sanitizer
// report or an abort is a finding.
//
// Kept small per input: data at most 4 KB, script at most 1 KB, no number
// above 100 in the script (so at most 100 resampling iterations, and the
// iteration limit of the common-slope fit stays small), and no '/' in the
// script, so every file the run opens or writes is in the private folder,
// which is emptied after every input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

#include <dlfcn.h>
#include <unistd.h>

#include "dialogue/dialogue_run.h"

using namespace korvel;

namespace fs = std::filesystem;

// KORVEL calls std::system("pause") before it ends on a report that cannot be
// opened; a shell per such input only slows the fuzzer, so the harness's
// system() runs nothing for that command and hands every other one (libFuzzer
// starts its -fork and -jobs workers with system()) to the C library's.
extern "C" int system(const char* command)
{
    if (command && std::strcmp(command, "pause") == 0)
        return 0;
    using SystemFunction = int (*)(const char*);
    static const auto real = reinterpret_cast<SystemFunction>(dlsym(RTLD_NEXT, "system"));
    return real ? real(command) : -1;
}

namespace {
// A stream buffer that accepts and drops every character.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

NullBuffer nullBuffer;
fs::path workDir;
fs::path startDir;

constexpr std::size_t maxData = 4096;
constexpr std::size_t maxScript = 1024;
constexpr long maxNumber = 100;

// True when the script keeps the run small and inside the private folder.
bool acceptable(const std::string& script)
{
    if (script.size() > maxScript || script.find('/') != std::string::npos)
        return false;
    std::istringstream words(script);
    std::string word;
    while (words >> word) {
        bool digits = true;
        for (char c : word)
            digits = digits && c >= '0' && c <= '9';
        if (!digits)
            continue;
        long value = 0;
        for (char c : word) {
            value = value * 10 + (c - '0');
            if (value > maxNumber)
                return false;
        }
    }
    return true;
}

void emptyWorkDir()
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(workDir, ec))
        fs::remove_all(entry.path(), ec);
}

void removeWorkDir()
{
    std::error_code ec;
    if (!workDir.empty())
        fs::remove_all(workDir, ec);
}

void makeWorkDir()
{
    std::string pattern = (fs::temp_directory_path() / "korvel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("fuzz_dialogue: temporary folder");
        std::abort();
    }
    workDir = pattern;
    startDir = fs::current_path();
    std::atexit(removeWorkDir);
}

void changeDir(const fs::path& dir)
{
    if (chdir(dir.c_str()) != 0) {
        std::perror("fuzz_dialogue: chdir");
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        makeWorkDir();
        return true;
    }();
    (void)ready;

    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t mark = input.find("%%\n");
    const bool hasData = mark != std::string::npos;
    const std::string dataFile = hasData ? input.substr(0, mark) : std::string();
    const std::string script = hasData ? input.substr(mark + 3) : input;
    if (dataFile.size() > maxData || !acceptable(script))
        return -1;

    changeDir(workDir);
    emptyWorkDir();
    if (hasData) {
        std::ofstream file("input.txt", std::ios::binary);
        file << dataFile;
    }

    std::istringstream answers("N\n9\n" + script);
    std::ostream nowhere(&nullBuffer);
    Console console{answers, nowhere, nowhere};
    runDialogue({}, console);
    changeDir(startDir);
    return 0;
}
