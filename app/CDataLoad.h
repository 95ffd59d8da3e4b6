#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Variable.h"
#include "io/CDataFileReader.h"

class CApplication;

// A data file read aside while the windows go on painting: the rows go to columns of
// their own, a slice at a time, and only a file that loaded is handed on whole.
class CDataLoad {
public:
    // `shown` names the file in messages; the memory the rows may take is bounded by
    // what the system has to give.
    CDataLoad(CApplication* app, const std::string& shown);
    ~CDataLoad();

    // Opens the file under its system name; false when it cannot be read at all.
    bool Begin(const char* systemName);
    // Reads for about `milliseconds`; true while more remains.
    bool Step(uint32_t milliseconds);

    const CDataFileReader::Outcome& GetOutcome() const { return reader->GetOutcome(); }
    const std::string& GetName() const { return shown; }
    // The rows read into column k, a CLineColumn whose list whoever shows them takes.
    CDataColumn* GetColumn(int k) const;

private:
    std::string shown;
    Variable columns[DataColumnCount];
    std::unique_ptr<CDataFileReader> reader;
};
