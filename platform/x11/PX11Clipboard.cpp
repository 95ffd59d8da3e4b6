// Clipboard text through the CLIPBOARD selection, so that other programs can paste
// what this one copies and the other way round.
#include <X11/Xatom.h>

#include <chrono>

#include "PX11State.h"  // private to this backend

namespace platform {

namespace {
constexpr int AnswerTimeoutMs = 1000;

// Reads and deletes a text property; false when it is missing or arrives in pieces.
bool ReadTextProperty(Display* display, Window window, Atom property, Atom incr, std::string& bytes, Atom& type)
{
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 0x1000000, True, AnyPropertyType, &type, &format, &count,
                           &remaining, &data) != Success)
        return false;
    bool ok = type != None && type != incr && format == 8 && data;
    if (ok)
        bytes.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    return ok;
}
}  // namespace

int PX11System::SetClipboardText(const char* text, size_t length)
{
    Display* d = state->display;
    XSetSelectionOwner(d, state->clipboard, state->helper, CurrentTime);
    if (XGetSelectionOwner(d, state->clipboard) != state->helper)
        return 0;
    state->clipboardText.assign(text ? text : "", text ? length : 0);
    state->ownsClipboard = true;
    XFlush(d);
    return 1;
}

int PX11System::GetClipboardText(std::string& text)
{
    Display* d = state->display;
    // Asked of the server: another program may have taken the clipboard a moment ago.
    Window owner = XGetSelectionOwner(d, state->clipboard);
    state->ownsClipboard = owner == state->helper;
    if (state->ownsClipboard) {
        text = state->clipboardText;
        return 1;
    }
    if (owner == None)
        return 0;
    for (Atom target : {state->utf8String, Atom(XA_STRING)}) {
        XDeleteProperty(d, state->helper, state->transfer);
        XConvertSelection(d, state->clipboard, target, state->transfer, state->helper, CurrentTime);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerTimeoutMs);
        XEvent answer;
        bool answered = false;
        while (!answered && std::chrono::steady_clock::now() < deadline) {
            answered = XCheckTypedWindowEvent(d, state->helper, SelectionNotify, &answer);
            if (!answered)
                state->WaitReadable(10);
        }
        if (!answered || answer.xselection.property == None)
            continue;
        std::string bytes;
        Atom type = None;
        if (!ReadTextProperty(d, state->helper, state->transfer, state->incr, bytes, type))
            continue;
        text = type == state->utf8String ? Utf8ToCp1252(bytes) : bytes;
        return 1;
    }
    return 0;
}

void PX11System::State::AnswerSelectionRequest(const XSelectionRequestEvent& request)
{
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = request.display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    // Old clients name no property: the target then doubles as one.
    Atom property = request.property != None ? request.property : request.target;
    long maxBytes = XExtendedMaxRequestSize(display) ? XExtendedMaxRequestSize(display) * 4 - 1024
                                                     : XMaxRequestSize(display) * 4 - 1024;
    if (request.selection == clipboard && ownsClipboard) {
        if (request.target == targets) {
            Atom offered[] = {targets, utf8String, XA_STRING, text};
            XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(offered), 4);
            reply.property = property;
        } else if (request.target == utf8String || request.target == XA_STRING || request.target == text) {
            bool utf8 = request.target != XA_STRING;
            std::string bytes = utf8 ? Cp1252ToUtf8(clipboardText) : Cp1252ToLatin1(clipboardText);
            // Text too large for one request would need the incremental protocol.
            if (long(bytes.size()) <= maxBytes) {
                XChangeProperty(display, request.requestor, property, utf8 ? utf8String : XA_STRING, 8,
                                PropModeReplace, reinterpret_cast<const unsigned char*>(bytes.data()),
                                int(bytes.size()));
                reply.property = property;
            }
        }
    }
    XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(display);
}

}  // namespace platform
