#pragma once

#include <string>

#include "io/CFile.h"

// A file written to replace its target whole or not at all: the bytes go to a new file
// beside the target, which Finish flushes, forces to the disk and renames over the
// target, so a failure at any point leaves the earlier file as it was. A target that is
// no regular file (a device, a pipe, a terminal) has nothing to keep and is written in
// place.
class CReplacingFile : public CFile {
public:
    explicit CReplacingFile(CApplication* app);
    ~CReplacingFile() override;

    // Opens for writing. 0 when the target is a folder, an existing file the user may
    // not write, or no new file can be made beside it.
    int Begin(const char* path);
    // 1 when every byte written reached the target; otherwise the target is untouched.
    int Finish();
    // Drops what was written; the target stays as it was.
    void Abandon();

private:
    int BeginBeside();

    std::string target;
    std::string temporary;  // empty when writing in place
};
