#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CDataColumn;

// The values of a data set's rows as the fits use them: x and y, the error of y when
// the rows are for a fit that weighs them, and the error of x when the York fit or the
// plot needs it. Held in blocks, so a row costs its 16 to 32 bytes and growing never
// copies or doubles what is held: a first small one, then large blocks the system may
// back with large pages (platform/LargeBlocks.h). Running out of memory throws
// std::bad_alloc, like the standard containers.
class FitRows {
public:
    explicit FitRows(bool withErrors, bool withErrorX = false);
    FitRows(FitRows&& other) noexcept;
    FitRows& operator=(FitRows&& other) noexcept;
    ~FitRows();

    // Adds a row; false when the count cannot grow any more (a fit counts rows in 32 bits).
    // Inline: readers add a row for every line they read.
    bool Add(double x, double y, double e = 1.0, double ex = 0.0)
    {
        if (count == UINT32_MAX)
            return false;
        if (room == 0)
            NewBlock();
        next[0] = x;
        next[1] = y;
        if (width >= 3)
            next[2] = e;
        if (width == 4)
            next[3] = ex;
        next += width;
        room--;
        count++;
        return true;
    }

    uint32_t Count() const { return count; }
    bool HasErrors() const { return width >= 3; }
    bool HasErrorX() const { return width == 4; }

    // Calls visit(x, y, e) for every row in order; e is 1 without errors.
    template <class Visit>
    void ForEach(Visit visit) const
    {
        Walk([&](const double* v) { visit(v[0], v[1], width >= 3 ? v[2] : 1.0); });
    }

    // Calls visit(x, ex, y, ey) for every row in order; an error not held is 0.
    template <class Visit>
    void ForEachPoint(Visit visit) const
    {
        Walk([&](const double* v) { visit(v[0], width == 4 ? v[3] : 0.0, v[1], width >= 3 ? v[2] : 0.0); });
    }

    // The rows of data columns as the fits read them: the X and Y cells, and the cell
    // of the errors of Y when asked for; the X column sets the count.
    static FitRows FromColumns(CDataColumn* const data[4], bool withErrors);

private:
    struct Block {
        double* values;
        uint32_t rows;
        size_t bytes;  // as allocated
    };

    void NewBlock();

    template <class Visit>
    void Walk(Visit visit) const
    {
        uint32_t left = count;
        for (const Block& block : blocks) {
            uint32_t n = left < block.rows ? left : block.rows;
            const double* v = block.values;
            for (uint32_t i = 0; i < n; i++, v += width)
                visit(v);
            left -= n;
        }
    }

    uint32_t width;
    uint32_t count = 0;
    uint32_t room = 0;  // rows still free in the last block
    double* next = nullptr;
    std::vector<Block> blocks;
};
