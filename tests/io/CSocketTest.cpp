#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <string>
#include <thread>
#include <utility>

#include "io/CSocket.h"
#include "tests/io/IOFixture.h"

namespace {
// The few calls the test's own server makes, on either system (the application base
// has started Windows Sockets).
#ifdef _WIN32
using Handle = SOCKET;
constexpr int NoSignal = 0;
int CloseSocket(Handle s) { return closesocket(s); }
bool WaitReadable(Handle s, int milliseconds)
{
    WSAPOLLFD waiting{s, POLLRDNORM, 0};
    return WSAPoll(&waiting, 1, milliseconds) == 1;
}
bool Valid(Handle s) { return s != INVALID_SOCKET; }
#else
using Handle = int;
constexpr int NoSignal = MSG_NOSIGNAL;
int CloseSocket(Handle s) { return close(s); }
bool WaitReadable(Handle s, int milliseconds)
{
    pollfd waiting{s, POLLIN, 0};
    return poll(&waiting, 1, milliseconds) == 1;
}
bool Valid(Handle s) { return s >= 0; }
#endif

// A TCP socket bound to a free loopback port; `port` is 0 when binding failed.
Handle BindLoopback(uint16_t& port)
{
    Handle s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool bound = bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    socklen_t size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    port = bound ? ntohs(address.sin_port) : 0;
    return s;
}

// A loopback server that accepts one connection, reads one line and answers with the
// line it got, reversed, and then "bye" without a line feed before closing.
class EchoServer {
public:
    EchoServer() : listener(BindLoopback(port))
    {
        bound = port != 0 && listen(listener, 1) == 0;
        if (bound)
            worker = std::thread([this] { Serve(); });
    }
    ~EchoServer()
    {
        if (worker.joinable())
            worker.join();
        CloseSocket(listener);
    }

    bool bound = false;
    uint16_t port = 0;
    std::string received;

private:
    void Serve()
    {
        // A test that fails before connecting must not leave the server waiting.
        if (!WaitReadable(listener, 10000))
            return;
        Handle peer = accept(listener, nullptr, nullptr);
        if (!Valid(peer))
            return;
        char c;
        while (recv(peer, &c, 1, 0) == 1 && c != '\n')
            received += c;
        std::string answer(received.rbegin(), received.rend());
        answer += "\nbye";
        send(peer, answer.data(), int(answer.size()), NoSignal);
        CloseSocket(peer);
    }

    Handle listener;
    std::thread worker;
};
}  // namespace

using CSocketTest = IOFixture;

TEST_F(CSocketTest, TalksLinesAndBytesOverLoopback)
{
    EchoServer server;
    ASSERT_TRUE(server.bound);
    Variable stream(new CSocket(app));
    CSocket* s = stream.As<CSocket>();
    std::string target = "127.0.0.1:" + std::to_string(server.port);
    ASSERT_EQ(s->Open(target.c_str()), 1);
    EXPECT_EQ(ntohs(s->address.port), server.port);
    EXPECT_EQ(s->address.family, AF_INET);
    EXPECT_EQ(s->WriteLine("hola"), 5);
    Variable line(s->ReadLine());
    EXPECT_EQ(BytesOf(line.As<CString>()), "aloh");
    EXPECT_EQ(s->ReadLine(), nullptr) << "the unterminated bye is dropped when the peer closes";
    s->Destroy();
    EXPECT_EQ(server.received, "hola");

    // Read gives byte counts up to the request.
    EchoServer second;
    ASSERT_TRUE(second.bound);
    Variable reader(new CSocket(app));
    s = reader.As<CSocket>();
    ASSERT_EQ(s->Open(("127.0.0.1:" + std::to_string(second.port)).c_str()), 1);
    s->WriteLine("abcdefghij");
    char buffer[8];
    std::string got;
    for (int n; (n = s->Read(buffer, 4, 2)) > 0;) {
        EXPECT_LE(n, 8);
        got.append(buffer, n);
    }
    EXPECT_EQ(got, "jihgfedcba\nbye");
}

TEST_F(CSocketTest, PortRulesAndFailedOrClosedConnections)
{
    Variable stream(new CSocket(app));
    CSocket* s = stream.As<CSocket>();
    // Without ":" the port is 8080, and only leading digits count; nothing need listen
    // there for the address to show.
    const std::pair<const char*, int> targets[] = {
        {"127.0.0.1", 8080}, {"localhost:80", 80}, {"127.0.0.1:81xyz", 81}, {"127.0.0.1:", 0}, {"127.0.0.1:82", 82}};
    for (auto [target, port] : targets) {
        s->Open(target);
        EXPECT_EQ(ntohs(s->address.port), port) << target;
        EXPECT_EQ(s->address.host, htonl(INADDR_LOOPBACK)) << target;
    }
    // Not a TCP port (refused, not wrapped), no such host, no host: nothing changes.
    for (const char* refused : {"127.0.0.1:70000", "no-such-host.invalid:80", ":80"}) {
        EXPECT_EQ(s->Open(refused), 0) << refused;
        EXPECT_EQ(ntohs(s->address.port), 82) << refused;
    }

    // A port nobody listens on: the first bound and released port of a server.
    uint16_t deadPort;
    CloseSocket(BindLoopback(deadPort));
    std::string target = "127.0.0.1:" + std::to_string(deadPort);
    EXPECT_EQ(s->Open(target.c_str()), 0);
    char buffer[8];
    EXPECT_EQ(s->Write("x", 1, 1), -1) << "the refused connection shows on first use";
    EXPECT_EQ(s->ReadLine(), nullptr);

    EXPECT_EQ(s->Destroy(), 0) << "closing the socket succeeds";
    EXPECT_EQ(s->Destroy(), 0);
    EXPECT_EQ(s->closed, 1);
    EXPECT_EQ(s->Read(buffer, 4, 2), 0);
    EXPECT_EQ(s->Write("x", 1, 1), 0);
    EXPECT_EQ(s->Seek(3), 0);

    Variable never(new CSocket(app));
    EXPECT_EQ(never.As<CSocket>()->Read(buffer, 1, 1), 0) << "an unopened socket is closed";
}

