#pragma once

#include <cstdint>
#include <string>

#include "core/Variable.h"
#include "platform/PFileLock.h"

class CApplication;
class CDataColumn;

// The recovery file of the data set a program shows: in the state folder, one per
// running program, "recuperacion-<process>.dat", beside "recuperacion-<process>.lock",
// which the program holds locked while it runs. A program that starts takes over the
// file of one that is gone (its lock is free), never that of one still running.
//
// The file: a line "AJUSTOR RECUPERACION 1 <length of the path>", the data path as
// the main window shows it (Windows-1252) and a line feed, then the rows exactly as a
// data file holds them.
class CRecoveryFile {
public:
    CRecoveryFile(CApplication* app, const std::string& folder, unsigned long owner);
    // The lock goes with the object; the file stays, for the next start.
    ~CRecoveryFile() = default;

    // Makes the folder and takes this program's lock; false when neither can be done,
    // and there is then no recovery.
    bool Open();
    // Takes over the file of a program that is gone, the newest first: its rows go to
    // `columns`, its data path to `path`, and the file becomes this program's own.
    bool TakeOver(CDataColumn* const columns[4], std::string& path);
    // Replaces this program's file whole with the rows and their path, at once.
    bool Write(CDataColumn* const columns[4], const std::string& path);
    // The same a slice at a time, so that a large set never holds up the typing: each
    // call writes rows for about `milliseconds`; the file is replaced by the call that
    // writes the last one. The rows must not move in between: the caller drops a write
    // whose rows moved and begins again.
    enum Progress { Going, Written, Failed };
    Progress WriteSlice(CDataColumn* const columns[4], const std::string& path, uint32_t milliseconds);
    bool IsWriting() const { return writing.Get() != nullptr; }
    // The write in progress goes; the file stays as it was.
    void DropWrite();
    // Nothing is left to recover: the file goes.
    void Remove();
    // The end of the program: the lock goes, and the file too unless `keep`.
    void Close(bool keep);

    std::string FilePath() const { return FileOf(owner); }

private:
    std::string FileOf(unsigned long process) const;
    std::string LockOf(unsigned long process) const;
    bool Read(CDataColumn* const columns[4], std::string& path);
    bool BeginWrite(CDataColumn* const columns[4], const std::string& path);

    CApplication* application;
    std::string folder;
    unsigned long owner;
    platform::PFileLock lock;
    // The write in progress: its file, and the rows written of those it began with.
    Variable writing;
    uint32_t rowsWritten = 0;
    uint32_t rowsToWrite = 0;
};
