#pragma once

// The system's socket declarations: getaddrinfo, sockaddr_in, socket, connect, recv
// and send are the same calls on POSIX and on Windows Sockets.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#undef GetClassName  // windows.h renames it; the framework's objects have a method of this name
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif
