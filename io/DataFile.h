#pragma once

#include <cstdint>

class CApplication;
class CDataColumn;
class CIO;
class CString;

// The data file of a data set: a 4-byte little-endian row count N (the lines of the
// first column), then N records "x;ex;y;ey;" each ended by a line feed. Cells are
// stored exactly as the columns hold them.

constexpr int DataColumnCount = 4;

// The longest record a reader of a data file takes: endless input cannot take all
// memory through one line.
constexpr uint32_t DataFileLongestRecord = 1u << 20;

// What a save or a load met, for a program that tells its user: the system's error
// number when it failed (0 otherwise), and for a load the rows the file's count
// claims beside the records it held.
struct DataFileOutcome {
    int error = 0;
    uint32_t claimed = 0;
    uint32_t loaded = 0;
};

// Saves the four columns (X, errors of X, Y, errors of Y) to path. The file is written
// next to the target under a temporary name, flushed to the disk and only then moved
// over the target: on any failure the old file stays as it was. 1 on success.
int SaveDataFile(CApplication* app, const char* path, CDataColumn* const columns[DataColumnCount],
                 DataFileOutcome* outcome = nullptr);
int SaveDataFile(CString* path, CDataColumn* const columns[DataColumnCount]);

// Loads the file into the four columns, which then hold exactly the loaded rows (one
// empty line each for no rows). A file that cannot be opened leaves the columns as
// they were and returns 0. A count larger than the records stops at the end of the
// file; a file too short for the count loads no rows.
int LoadDataFile(CApplication* app, const char* path, CDataColumn* const columns[DataColumnCount],
                 DataFileOutcome* outcome = nullptr);
int LoadDataFile(CString* path, CDataColumn* const columns[DataColumnCount]);

// The same formats on any stream. WriteDataSet returns 1 when every byte was accepted;
// ReadDataSet returns the number of records loaded and, when asked, the count the
// data claimed.
int WriteDataSet(CIO* out, CDataColumn* const columns[DataColumnCount]);
// WriteDataSet in parts, for a writer that goes on between other work: the count, then
// the records of rows [first, end). Each returns 1 when every byte was accepted.
int WriteDataCount(CIO* out, uint32_t rows);
int WriteDataRecords(CIO* out, CDataColumn* const columns[DataColumnCount], uint32_t first, uint32_t end);
uint32_t ReadDataSet(CIO* in, CDataColumn* const columns[DataColumnCount], uint32_t* claimed = nullptr);
