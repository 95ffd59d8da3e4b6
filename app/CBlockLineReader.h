#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

class CIO;

// The lines of a stream, read in large blocks; one line at a time is held, so endless
// input without line feeds cannot take all memory. A last line without its line feed is
// a line, an empty one is not. The data file reader and the plain text reader share it.
class CBlockLineReader {
public:
    CBlockLineReader(CIO* stream, uint32_t longest);

    // The next `count` bytes as they stand, for a header before the lines; false when
    // the stream holds fewer.
    bool Take(size_t count, const char*& taken);

    // False at the end, else true with the next line, without its line feed. A line
    // longer than the longest comes cut to it, with Cut() set, and is the last. Inline:
    // it runs once a row.
    bool Next(std::string_view& line)
    {
        for (size_t scanned = 0;;) {
            const char* start = bytes.get() + begin;
            size_t held = end - begin;
            // A line feed beyond the bound would only show a line too long.
            size_t looked = held < size_t(limit) + 1 ? held : size_t(limit) + 1;
            if (const void* feed = std::memchr(start + scanned, '\n', looked - scanned)) {
                line = std::string_view(start, static_cast<size_t>(static_cast<const char*>(feed) - start));
                begin += line.size() + 1;
                return true;
            }
            scanned = looked;
            if (held > limit) {
                // The byte after the bound is neither a line feed nor the end.
                cut = true;
                Last(line, limit);
                return true;
            }
            if (ended) {
                Last(line, held);
                return held > 0;
            }
            Refill();
        }
    }

    bool Cut() const { return cut; }

private:
    void Last(std::string_view& line, size_t size);
    void Refill();

    CIO* in;
    uint32_t limit;
    // Not filled at creation: pages a short input never reaches cost no memory.
    size_t room;
    std::unique_ptr<char[]> bytes;
    size_t begin = 0, end = 0;
    bool ended = false;
    bool cut = false;
};
