#pragma once

#include <cstdint>

#include "core/CComponent.h"

class CString;

// The stream abstraction: every byte the system moves outside the screen goes through
// one. Subclasses supply Open, Read, Write and Seek; the line and text operations are
// built here once on top of Read and Write.
//
// The `created` flag is the stream's open flag.
class CIO : public CComponent {
public:
    explicit CIO(CApplication* app);
    ~CIO() override;

    virtual int Open(CString* path);
    // Null targets return 0 at once; others go to OpenTarget.
    int Open(const void* target);

    // Item counts, or -1 once the end was reported; see each stream for details.
    virtual int Read(void* buffer, uint32_t size, uint32_t count);
    virtual int Write(const void* buffer, uint32_t size, uint32_t count);

    // The next line without its line feed, tabs as five spaces, or none at the end of
    // the stream (an unterminated last line is dropped). Returned with count 0.
    virtual CString* ReadLine();
    virtual int WriteLine(CString* text);
    virtual int WriteLine(const char* text);
    virtual int WriteText(CString* text);
    virtual int WriteText(const char* text);
    virtual int Seek(int32_t offset);

    // ReadLine into an existing string (emptied first), so readers of many lines reuse
    // one. Returns 1 for a line ending in a line feed; 0 at the end of the stream, when
    // `line` keeps the unterminated text that was read.
    virtual int ReadLineInto(CString* line);

protected:
    // The target: text of a path, a host name, a memory address.
    virtual int OpenTarget(const void* target);
};
