#pragma once

#include <sys/types.h>

#include <string>

namespace platform {

// A private X server for tests and measurements: Xvfb on a free display number, ended
// with the object.
class PXvfbServer {
public:
    PXvfbServer() = default;
    ~PXvfbServer() { Stop(); }
    PXvfbServer(const PXvfbServer&) = delete;
    PXvfbServer& operator=(const PXvfbServer&) = delete;

    // Starts Xvfb and waits until it accepts clients; 0 (with the reason in `error`)
    // when there is no Xvfb or it does not come up.
    int Start(int width = 1024, int height = 768);
    void Stop();
    // Starts a window manager (openbox by default) on the server and waits until it
    // shows new windows; 0, with the reason in `error`, when it cannot be started.
    // It is stopped with the server, or by StopWindowManager.
    int StartWindowManager(const char* program = "openbox");
    void StopWindowManager();
    const std::string& GetDisplayName() const { return displayName; }
    const std::string& GetError() const { return error; }

private:
    pid_t pid = -1;
    pid_t managerPid = -1;
    std::string displayName;
    std::string error;
};

}  // namespace platform
