#pragma once

#include <cstddef>
#include <string>

namespace platform {

// A program offering text on the clipboard that sends it in pieces of `piece` bytes
// (the incremental protocol) and, after the first piece, stops for `pauseMs` before it
// goes on: a transfer that outlasts the requestor's patience. For tests, run in a
// process of its own. Writes one byte to `readyFd` once it owns the clipboard, serves
// one request for text, and returns 1 when that transfer ran to its end, 0 when it
// could not take the clipboard or nobody asked within `waitMs`.
int ServeClipboardSlowly(const char* displayName, const std::string& text, size_t piece, int pauseMs, int readyFd,
                         int waitMs);

}  // namespace platform
