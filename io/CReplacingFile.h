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

    // The name of the new file beside a target named `base` (no folder):
    // ".<base>.<process>-<number>.tmp", hidden where a leading dot hides.
    static std::string TemporaryName(const std::string& base, unsigned long process, unsigned long number);
    // Whether a name (no folder) is one TemporaryName makes; if so, the target's name
    // and the process that made it.
    static bool IsTemporaryName(const std::string& name, std::string* base = nullptr,
                                unsigned long* process = nullptr);

private:
    int BeginBeside();
    // Removes the new files that saves of this target by processes no longer running
    // left behind (a save killed half-way): the next save cleans up after it.
    void RemoveLeftovers(const std::string& folder, const std::string& base);

    std::string target;
    std::string temporary;  // empty when writing in place
};
