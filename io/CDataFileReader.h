#pragma once

#include <cstdint>

#include "core/Variable.h"
#include "io/DataFile.h"

class CApplication;

// Reads a data file whole into columns that nothing shows yet, a slice at a time, and
// tells whether it is a data file at all, so a program replaces what it shows only
// with a data set that loaded. Stricter than LoadDataFile: a count its size cannot
// hold, a record that is not four fields each closed by ";", bytes that are no text
// or a record longer than DataFileLongestRecord make the file no data file. A count
// that differs from the records is not a fault: every record is read and the outcome
// says so. Cells longer than DataCellLongest are cut and counted.
class CDataFileReader {
public:
    enum Fault { NoFault, CannotOpen, NoCount, CountBeyondSize, BadRecord, NotText, LongRecord, NoMemory, ReadError };

    struct Outcome {
        Fault fault = NoFault;
        int error = 0;        // the system's error number for CannotOpen and ReadError
        uint32_t claimed = 0;  // the file's count
        uint32_t loaded = 0;   // the records read
        uint32_t record = 0;   // the record at fault, from 1
        uint32_t cutCells = 0;
        int64_t size = -1;     // the file's bytes, -1 when unknown
    };

    // The columns must be empty (one empty line each); `memory` bounds the bytes the
    // read rows may take, so a file too large for the machine is refused, not fatal.
    CDataFileReader(CApplication* app, CDataColumn* const columns[DataColumnCount], uint64_t memory);

    // Opens the file and reads its count; 0 with the fault when it can go no further.
    int Begin(const char* path);
    // Reads up to `records` more records; 1 while more remain, 0 at the end or at a
    // fault. At the end the columns hold exactly the records read.
    int Step(uint32_t records);
    const Outcome& GetOutcome() const { return outcome; }

private:
    int Fail(Fault fault);
    int Finish();
    bool AddRecord(CString* record);

    CDataColumn* columns[DataColumnCount];
    Variable file;
    Variable line;
    Outcome outcome;
    uint64_t memoryLeft;
    bool trailingBlank = false;
};
