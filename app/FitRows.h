#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CDataColumn;

// The values of a data set's rows as the fits use them: x and y, the error of y when
// the rows are for a fit that weighs them, and the error of x when the York fit or the
// plot needs it. Held in blocks of a fixed size, so a row costs its 16 to 32 bytes and
// growing never copies or doubles what is held. Running out of memory throws
// std::bad_alloc, like the standard containers.
class FitRows {
public:
    explicit FitRows(bool withErrors, bool withErrorX = false);

    // Adds a row; false when the count cannot grow any more (a fit counts rows in 32 bits).
    bool Add(double x, double y, double e = 1.0, double ex = 0.0);

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
    static constexpr uint32_t BlockRows = 4096;

    template <class Visit>
    void Walk(Visit visit) const
    {
        uint32_t left = count;
        for (const auto& block : blocks) {
            uint32_t n = left < BlockRows ? left : BlockRows;
            const double* v = block.get();
            for (uint32_t i = 0; i < n; i++, v += width)
                visit(v);
            left -= n;
        }
    }

    uint32_t width;
    uint32_t count = 0;
    std::vector<std::unique_ptr<double[]>> blocks;
};
