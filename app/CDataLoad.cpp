#include "app/CDataLoad.h"

#include <chrono>

#include "io/CLineColumn.h"
#include "platform/SystemMemory.h"

namespace {
// Records read between two looks at the clock.
constexpr uint32_t RecordsPerLook = 512;

// The rows may take most of what is free, never all: the windows and the data set
// being shown need their share.
uint64_t MemoryForRows()
{
    uint64_t available = platform::AvailableMemory();
    return available ? available / 4 * 3 : UINT64_MAX;
}
}  // namespace

CDataLoad::CDataLoad(CApplication* app, const std::string& name) : shown(name)
{
    CDataColumn* staged[DataColumnCount];
    for (int k = 0; k < DataColumnCount; k++) {
        auto* column = new CLineColumn(app);
        columns[k] = column;
        staged[k] = column;
    }
    reader = std::make_unique<CDataFileReader>(app, staged, MemoryForRows());
}

CDataLoad::~CDataLoad() = default;

bool CDataLoad::Begin(const char* systemName) { return reader->Begin(systemName) == 1; }

bool CDataLoad::Step(uint32_t milliseconds)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (reader->Step(RecordsPerLook))
        if (std::chrono::steady_clock::now() >= until)
            return true;
    return false;
}

CDataColumn* CDataLoad::GetColumn(int k) const { return columns[k].As<CLineColumn>(); }
