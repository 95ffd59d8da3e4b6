#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "core/Variable.h"
#include "platform/headless/PHeadlessSystem.h"
#include "tests/common/DesktopLoop.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CWindow.h"

// One delivered event as a recorder saw it.
struct Seen {
    CObject* receiver;
    int32_t type;
    CObject* source;
    int32_t x, y, value;
};

// A window that writes down every event it receives, in one log shared by all
// recorders so that the order across windows shows.
class CRecorder : public CWindow {
public:
    CRecorder(CGApplication* app, std::vector<Seen>* sharedLog) : CWindow(app), log(sharedLog)
    {
        className = "CRecorder";
    }
    ~CRecorder() override { LeaveRegistry(); }

    void HandleEvent(CEvent event) override
    {
        if (log)
            log->push_back({this, event.type, event.source, event.x, event.y, event.value});
        CWindow::HandleEvent(event);
    }

    std::vector<Seen>* log;
};

// A fresh headless desktop and graphical application for each test.
class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetValidationMode(TrustRegistered);
        previous = platform::InstallWindowSystem(&desktop);
        app = new CGApplication();
        ASSERT_EQ(app->Initialise(), 1);
    }

    void TearDown() override
    {
        app->Cleanup();
        delete app;
        platform::InstallWindowSystem(previous);
    }

    void Pump() { PumpDesktop(app, desktop); }

    CRecorder* NewRecorder(int x, int y, int w, int h, CWindow* parent, const char* title = NoTitle)
    {
        auto* window = new CRecorder(app, &log);
        held.emplace_back(window);
        window->Create(x, y, w, h, parent, title, 200, 100, 50);
        return window;
    }

    // Shows the windows in order, parents first.
    static void ShowAll(std::initializer_list<CWindow*> windows)
    {
        for (CWindow* window : windows)
            window->Show();
    }

    // The events of one type that a receiver saw, in order.
    std::vector<Seen> SeenBy(CObject* receiver, int32_t type = -1) const
    {
        std::vector<Seen> out;
        for (const Seen& s : log)
            if (s.receiver == receiver && (type < 0 || s.type == type))
                out.push_back(s);
        return out;
    }

    // The types a receiver saw from the application (its own events), in order.
    std::vector<int32_t> OwnTypes(CObject* receiver) const
    {
        std::vector<int32_t> out;
        for (const Seen& s : log)
            if (s.receiver == receiver && s.source == app)
                out.push_back(s.type);
        return out;
    }

    platform::PHeadlessSystem desktop;
    platform::PWindowSystem* previous = nullptr;
    CGApplication* app = nullptr;
    std::vector<Seen> log;
    std::vector<Variable> held;
};
