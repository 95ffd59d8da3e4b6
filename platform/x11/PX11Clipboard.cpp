// Clipboard text through the CLIPBOARD selection, so that other programs can paste
// what this one copies and the other way round. A paste arrives whole, however large
// (a large one comes in pieces: the incremental protocol), or not at all; what arrives
// late for an earlier paste is never taken for a later one.
#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "PX11State.h"  // private to this backend

namespace platform {

namespace {
using Clock = std::chrono::steady_clock;

// How long the owner may take to answer, and to send each piece after the first.
constexpr auto AnswerTimeout = std::chrono::milliseconds(2000);
// Larger texts are refused rather than risk the program's memory.
constexpr size_t LargestPaste = size_t(256) << 20;

enum class Received { Text, Refused, Failed };

// What a paste waits for: the owner's answer to this request, or a change of the
// property it arrives in.
struct Awaited {
    Window window;
    Atom selection;
    Atom target;
    Atom property;
    Time time;
    int propertyState;
};

Bool IsAnswer(Display*, XEvent* event, XPointer arg)
{
    const auto& a = *reinterpret_cast<Awaited*>(arg);
    const XSelectionEvent& e = event->xselection;
    if (event->type != SelectionNotify || e.requestor != a.window || e.selection != a.selection)
        return False;
    // A refusal names no property: only its target and time tell which request it answers.
    if (e.property == None)
        return e.target == a.target && (e.time == a.time || e.time == CurrentTime);
    return e.property == a.property;
}

Bool IsChange(Display*, XEvent* event, XPointer arg)
{
    const auto& a = *reinterpret_cast<Awaited*>(arg);
    const XPropertyEvent& e = event->xproperty;
    return event->type == PropertyNotify && e.window == a.window && e.atom == a.property &&
           (a.propertyState < 0 || e.state == a.propertyState);
}

// The next event the predicate takes; false when none comes before the deadline.
// Other events stay queued for the loop.
bool WaitFor(Display* d, XEvent& event, Bool (*predicate)(Display*, XEvent*, XPointer), Awaited& awaited,
             Clock::time_point deadline)
{
    for (;;) {
        if (XCheckIfEvent(d, &event, predicate, reinterpret_cast<XPointer>(&awaited)))
            return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd connection{ConnectionNumber(d), POLLIN, 0};
        poll(&connection, 1, int(std::min<long long>(left, 50)));
    }
}

// Reads and deletes a property of 8-bit items; false when it is missing, of another
// format or larger than a paste may be.
bool ReadProperty(Display* d, Window window, Atom property, std::string& bytes, Atom& type)
{
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    type = None;
    if (XGetWindowProperty(d, window, property, 0, long(LargestPaste / 4), True, AnyPropertyType, &type, &format,
                           &count, &remaining, &data) != Success)
        return false;
    bool ok = type != None && remaining == 0 && (format == 8 || format == 32) && (data || count == 0);
    if (ok && format == 8)
        bytes.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    if (remaining)
        XDeleteProperty(d, window, property);
    return ok;
}

// The server's time now, learnt from a change of a property: requests made with it
// can be told from earlier ones.
Time ServerTime(PX11System::State& s)
{
    XChangeProperty(s.display, s.helper, s.timestamp, XA_INTEGER, 32, PropModeAppend, nullptr, 0);
    Awaited awaited{s.helper, None, None, s.timestamp, CurrentTime, PropertyNewValue};
    XEvent change;
    if (!WaitFor(s.display, change, IsChange, awaited, Clock::now() + AnswerTimeout))
        return CurrentTime;
    return change.xproperty.time;
}

Atom TakeProperty(PX11System::State& s)
{
    if (!s.idleProperties.empty()) {
        Atom property = s.idleProperties.back();
        s.idleProperties.pop_back();
        return property;
    }
    std::string name = "AJUSTOR_SELECTION_" + std::to_string(s.propertiesMade++);
    return XInternAtom(s.display, name.c_str(), False);
}

// Drops the changes of a property still queued: they belong to an earlier request.
void ForgetChanges(PX11System::State& s, Atom property)
{
    Awaited awaited{s.helper, None, None, property, CurrentTime, -1};
    XEvent change;
    while (XCheckIfEvent(s.display, &change, IsChange, reinterpret_cast<XPointer>(&awaited))) {
    }
}

// A transfer given up while the owner may still be sending: its pieces are read and
// dropped until the last, so that the owner is not left waiting.
void GiveUp(PX11System::State& s, Atom property)
{
    s.drainedProperties.push_back(property);
    XDeleteProperty(s.display, s.helper, property);
    XFlush(s.display);
}

// The pieces after an INCR answer, each read (and so deleted) to ask for the next;
// an empty piece ends the transfer.
Received ReceivePieces(PX11System::State& s, Atom property, std::string& bytes, Atom& type)
{
    bytes.clear();
    for (;;) {
        Awaited awaited{s.helper, None, None, property, CurrentTime, PropertyNewValue};
        XEvent change;
        if (!WaitFor(s.display, change, IsChange, awaited, Clock::now() + AnswerTimeout)) {
            GiveUp(s, property);
            return Received::Failed;
        }
        std::string piece;
        Atom pieceType = None;
        if (!ReadProperty(s.display, s.helper, property, piece, pieceType)) {
            if (pieceType == None)
                continue;  // already gone: nothing was sent
            GiveUp(s, property);
            return Received::Failed;
        }
        if (piece.empty()) {
            s.idleProperties.push_back(property);
            return Received::Text;
        }
        if (bytes.size() + piece.size() > LargestPaste) {
            GiveUp(s, property);
            return Received::Failed;
        }
        bytes += piece;
        type = pieceType;
    }
}

// Asks the owner for the clipboard as `target` and takes its answer, whole.
Received Receive(PX11System::State& s, Atom target, Time time, std::string& bytes, Atom& type)
{
    Display* d = s.display;
    Atom property = TakeProperty(s);
    XDeleteProperty(d, s.helper, property);
    XConvertSelection(d, s.clipboard, target, property, s.helper, time);
    Awaited awaited{s.helper, s.clipboard, target, property, time, PropertyNewValue};
    XEvent answer;
    if (!WaitFor(d, answer, IsAnswer, awaited, Clock::now() + AnswerTimeout))
        return Received::Failed;  // the property stays out of use: the owner may still write it
    if (answer.xselection.property == None) {
        s.idleProperties.push_back(property);
        return Received::Refused;
    }
    // The owner's own writing of the answer is queued before the answer: no piece yet.
    ForgetChanges(s, property);
    if (!ReadProperty(d, s.helper, property, bytes, type)) {
        s.idleProperties.push_back(property);
        return Received::Failed;
    }
    if (type == s.incr)
        return ReceivePieces(s, property, bytes, type);
    s.idleProperties.push_back(property);
    return Received::Text;
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
    Time time = ServerTime(*state);
    for (Atom target : {state->utf8String, Atom(XA_STRING)}) {
        std::string bytes;
        Atom type = None;
        Received got = Receive(*state, target, time, bytes, type);
        if (got == Received::Refused)
            continue;
        if (got == Received::Failed)
            return -1;
        text = type == state->utf8String ? Utf8ToCp1252(bytes) : bytes;
        return 1;
    }
    return 0;
}

// Pieces of a transfer given up are dropped as they come; its last, empty one frees
// the property for later pastes.
void PX11System::State::DrainGivenUp(const XPropertyEvent& change)
{
    auto drained = std::find(drainedProperties.begin(), drainedProperties.end(), change.atom);
    if (change.window != helper || change.state != PropertyNewValue || drained == drainedProperties.end())
        return;
    std::string piece;
    Atom type = None;
    bool read = ReadProperty(display, helper, change.atom, piece, type);
    if (read && piece.empty()) {
        drainedProperties.erase(drained);
        idleProperties.push_back(change.atom);
    }
}

}  // namespace platform
