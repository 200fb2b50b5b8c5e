// Running the built program in a temporary folder with a scripted standard
// input, and reading what it left behind.
#pragma once

#include <string>

struct RunResult {
    int status = -1;     // exit status of the program
    std::string out;     // standard output
    std::string err;     // standard error
};

// A fresh empty folder under the system's temporary folder, removed when the
// object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    // Writes text into a file of the folder.
    void write(const std::string& name, const std::string& text) const;
    // Copies a file of the source tree (path relative to it) into the folder.
    void copyFromSource(const std::string& relative, const std::string& name) const;
    // Contents of a file of the folder ("" when missing).
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string dir;
};

// Runs the program in dir with input as its whole standard input (closed
// after it), with a time limit of limitSeconds.
RunResult runKorvel(const TempDir& dir, const std::string& input, int limitSeconds = 300);

// Path of a file in the source tree.
std::string sourcePath(const std::string& relative);

// Number of times needle occurs in text.
int countOf(const std::string& text, const std::string& needle);
