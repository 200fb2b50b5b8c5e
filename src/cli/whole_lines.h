// A report written in whole lines: when the report and the messages share a
// terminal or a file (standard output and standard error both sent to one
// place), a message never lands inside one of the report's lines.
#pragma once

#include <streambuf>
#include <string>

namespace korvel {

// Passes on to another buffer only what ends with a line feed, holding the
// line begun until it is ended (a flush passes on the lines ended so far);
// the rest goes when this buffer is destroyed. A failure of the other buffer
// is this buffer's, so that the stream over it says so.
class WholeLines : public std::streambuf {
public:
    explicit WholeLines(std::streambuf* to) : to(to) {}
    ~WholeLines() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    std::streambuf* to;
    std::string begun; // the line begun and not yet ended
    bool passOn(std::string::size_type count);
};

} // namespace korvel
