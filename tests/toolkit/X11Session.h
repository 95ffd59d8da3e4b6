#pragma once

// An application on a real X server as the X11 tests drive it: the window system
// opened on the display, a driver that sends input through the server, and a short
// timer that keeps every loop step from blocking for long.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Variable.h"
#include "platform/x11/PX11Driver.h"
#include "platform/x11/PX11System.h"
#include "platform/x11/PXvfbServer.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTimer.h"

// The fixture of the X11 tests. One private Xvfb per desktop serves the whole test
// program, started when first asked for: bare, or under openbox as users have it.
class X11Session : public ::testing::Test {
protected:
    // Call with ASSERT_NO_FATAL_FAILURE. Without Xvfb the tests fail and say why;
    // without openbox they are skipped.
    void OpenSession(bool managed)
    {
        // Stopped as the program ends, but not by a death test's child that exits.
        static struct Desktops {
            platform::PXvfbServer* servers = new platform::PXvfbServer[2];
            pid_t owner = getpid();
            ~Desktops()
            {
                if (getpid() == owner)
                    delete[] servers;
            }
        } desktops;
        static int started[2] = {-1, -1};
        static std::string why[2];
        platform::PXvfbServer& server = desktops.servers[managed];
        if (started[managed] < 0) {
            started[managed] = server.Start();
            if (started[managed] && managed && !server.StartWindowManager("openbox"))
                started[managed] = 2;
            why[managed] = server.GetError();
        }
        ASSERT_TRUE(started[managed]) << why[managed];
        if (started[managed] == 2)
            GTEST_SKIP() << why[managed];
        display = server.GetDisplayName();
        setenv("DISPLAY", display.c_str(), 1);
        SetValidationMode(TrustRegistered);
        system = platform::PX11System::Open(display.c_str());
        ASSERT_TRUE(system);
        ASSERT_TRUE(driver.Open(display.c_str()));
        previous = platform::InstallWindowSystem(system.get());
        app = new CGApplication();
        ASSERT_EQ(app->Initialise(), 1);
        pacer = Variable(new CTimer(app));
        pacer.As<CTimer>()->Create(nullptr);
        pacer.As<CTimer>()->SetInterval(10);
        pacer.As<CTimer>()->SetEnabled(1);
    }

    void TearDown() override
    {
        held.clear();
        pacer.Clear();
        if (app) {
            app->Cleanup();
            delete app;
            app = nullptr;
        }
        platform::InstallWindowSystem(previous);
        system.reset();
    }

    bool StepUntil(const std::function<bool()>& done, int timeoutMs = 3000)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        app->looping = 1;
        while (!done() && std::chrono::steady_clock::now() < deadline)
            app->Step();
        app->looping = 0;
        return done();
    }

    void StepFor(int ms) { StepUntil([] { return false; }, ms); }

    // Starts a program with `input` on its standard input and, when `output` is given,
    // its standard output on a pipe read without blocking; its process id.
    static pid_t StartBeside(const std::vector<const char*>& argv, const std::string& input, int* output = nullptr)
    {
        int in[2], out[2] = {-1, -1};
        if (pipe(in) != 0 || (output && pipe(out) != 0))
            return -1;
        pid_t pid = fork();
        if (pid == 0) {
            dup2(in[0], 0);
            close(in[1]);
            if (output) {
                dup2(out[1], 1);
                close(out[0]);
            }
            std::vector<char*> args;
            for (const char* a : argv)
                args.push_back(const_cast<char*>(a));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        close(in[0]);
        if (output) {
            close(out[1]);
            fcntl(out[0], F_SETFL, O_NONBLOCK);
            *output = out[0];
        }
        if (write(in[1], input.data(), input.size()) != ssize_t(input.size()))
            ADD_FAILURE() << "could not feed " << argv[0];
        close(in[1]);
        return pid;
    }

    std::string display;
    std::unique_ptr<platform::PX11System> system;
    platform::PWindowSystem* previous = nullptr;
    platform::PX11Driver driver;
    CGApplication* app = nullptr;
    Variable pacer;
    std::vector<Variable> held;  // windows the test made, released before the application
};
