#include "app/FitRows.h"

#include <new>
#include <utility>

#include "app/FitLines.h"
#include "platform/LargeBlocks.h"

namespace {
// A small data set, as typed in the window, takes one small block.
constexpr uint32_t FirstBlockRows = 4096;
}  // namespace

FitRows::FitRows(bool withErrors, bool withErrorX) : width(withErrorX ? 4 : withErrors ? 3 : 2) {}

FitRows::FitRows(FitRows&& other) noexcept
    : width(other.width), count(other.count), room(other.room), next(other.next), blocks(std::move(other.blocks))
{
    other.blocks.clear();
    other.count = other.room = 0;
    other.next = nullptr;
}

FitRows& FitRows::operator=(FitRows&& other) noexcept
{
    std::swap(width, other.width);
    std::swap(count, other.count);
    std::swap(room, other.room);
    std::swap(next, other.next);
    std::swap(blocks, other.blocks);
    return *this;
}

FitRows::~FitRows()
{
    for (const Block& block : blocks)
        platform::FreeBlock(block.values, block.bytes);
}

void FitRows::NewBlock()
{
    uint32_t rows = blocks.empty() ? FirstBlockRows : uint32_t(platform::LargeBlockSize / (width * sizeof(double)));
    size_t bytes = blocks.empty() ? size_t(rows) * width * sizeof(double) : platform::LargeBlockSize;
    blocks.reserve(blocks.size() + 1);
    auto* values = static_cast<double*>(platform::AllocateBlock(bytes));
    if (!values)
        throw std::bad_alloc();
    blocks.push_back({values, rows, bytes});
    next = values;
    room = rows;
}

FitRows FitRows::FromColumns(CDataColumn* const data[4], bool withErrors)
{
    FitRows rows(withErrors);
    uint32_t n = RowCount(data);
    for (uint32_t i = 0; i < n; i++) {
        double x = CellValue(data[ColumnX], i);
        double y = CellValue(data[ColumnY], i);
        rows.Add(x, y, withErrors ? CellValue(data[ColumnErrorY], i) : 1.0);
    }
    return rows;
}
