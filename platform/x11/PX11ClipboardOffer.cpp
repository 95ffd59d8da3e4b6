// What this program offers on the clipboard, as other programs ask for it. A text
// larger than one request may carry goes in pieces (the incremental protocol): the
// requestor deletes each piece to ask for the next, and an empty piece ends it.
#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>

#include "PX11State.h"  // private to this backend

namespace platform {

namespace {
// A requestor that stops taking pieces for this long is given up.
constexpr auto PieceTimeout = std::chrono::seconds(10);

// The largest property one request can set, with room for the request's own fields.
size_t LargestPiece(Display* display) { return size_t(XMaxRequestSize(display)) * 4 - 1024; }
}  // namespace

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
    if (request.selection == clipboard && ownsClipboard) {
        if (request.target == targets) {
            Atom offered[] = {targets, utf8String, XA_STRING, text};
            XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(offered), 4);
            reply.property = property;
        } else if (request.target == utf8String || request.target == XA_STRING || request.target == text) {
            bool utf8 = request.target != XA_STRING;
            Atom type = utf8 ? utf8String : Atom(XA_STRING);
            std::string bytes = utf8 ? Cp1252ToUtf8(clipboardText) : Cp1252ToLatin1(clipboardText);
            if (bytes.size() <= LargestPiece(display)) {
                XChangeProperty(display, request.requestor, property, type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
                reply.property = property;
            } else if (request.requestor != helper) {
                // Announced with a lower bound of its size; the requestor's deletes drive the rest.
                auto now = std::chrono::steady_clock::now();
                outgoing.erase(std::remove_if(outgoing.begin(), outgoing.end(),
                                              [&](const Outgoing& o) {
                                                  return o.deadline < now || (o.requestor == request.requestor &&
                                                                              o.property == property);
                                              }),
                               outgoing.end());
                XSelectInput(display, request.requestor, PropertyChangeMask);
                long size = long(std::min<size_t>(bytes.size(), 0x7FFFFFFF));
                XChangeProperty(display, request.requestor, property, incr, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(&size), 1);
                outgoing.push_back({request.requestor, property, type, std::move(bytes), 0, now + PieceTimeout});
                reply.property = property;
            }
        }
    }
    XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(display);
}

void PX11System::State::PropertyChanged(const XPropertyEvent& change)
{
    DrainGivenUp(change);
    SendNextPiece(change);
}

void PX11System::State::SendNextPiece(const XPropertyEvent& change)
{
    if (change.state != PropertyDelete)
        return;
    auto transfer = std::find_if(outgoing.begin(), outgoing.end(), [&](const Outgoing& o) {
        return o.requestor == change.window && o.property == change.atom;
    });
    if (transfer == outgoing.end())
        return;
    size_t size = std::min(transfer->bytes.size() - transfer->sent, LargestPiece(display));
    XChangeProperty(display, transfer->requestor, transfer->property, transfer->type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(transfer->bytes.data() + transfer->sent), int(size));
    transfer->sent += size;
    transfer->deadline = std::chrono::steady_clock::now() + PieceTimeout;
    if (size == 0) {
        // The empty piece is written: the transfer is over.
        Window requestor = transfer->requestor;
        outgoing.erase(transfer);
        bool more = std::any_of(outgoing.begin(), outgoing.end(),
                                [&](const Outgoing& o) { return o.requestor == requestor; });
        if (!more)
            XSelectInput(display, requestor, NoEventMask);
    }
    XFlush(display);
}

}  // namespace platform
