// Reading text line by line, in large blocks, from a file or from bytes held
// in memory. A line is every byte up to the next line feed, or up to the end
// when the last line has none, less one carriage return that ends it: CR LF,
// LF and mixed line ends read alike, and a line feed that ends the text opens
// no further line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace korvel {

class LineReader {
public:
    // The bytes, which must outlive the reader.
    explicit LineReader(std::string_view bytes);
    // The file from its current position, blockSize bytes asked of it at a
    // time; the reader closes it.
    explicit LineReader(std::FILE* file, std::size_t blockSize = std::size_t(1) << 20);

    // The next line, valid until the next call; false after the last.
    bool next(std::string_view& line);
    // The bytes of the lines returned so far, their line ends included.
    std::uint64_t position() const { return passed; }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file;
    std::size_t blockSize = 0;
    std::string block;     // bytes read from the file, from the start of the current line on
    std::string_view rest; // bytes not yet returned
    std::uint64_t passed = 0;
    bool refill();
};

} // namespace korvel
