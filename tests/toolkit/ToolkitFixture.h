#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/CString.h"
#include "core/Variable.h"
#include "platform/PngWriter.h"
#include "platform/PSurface.h"
#include "platform/headless/PHeadlessSystem.h"
#include "tests/common/DesktopLoop.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CWindow.h"

// One delivered event as a recorder saw it.
struct Seen {
    CObject* receiver;
    int32_t type;
    CObject* source;
    int32_t x, y, value;
};

// The bytes of a text; empty for none.
inline std::string TextOf(CString* text)
{
    return text && text->GetLength() ? std::string(text->GetBuffer(), text->GetLength()) : std::string();
}

// The lines of a text column or list.
inline std::vector<std::string> LinesOf(CTextEdit* list)
{
    std::vector<std::string> lines;
    for (uint32_t i = 0; i < list->GetLineCount(); i++)
        lines.push_back(TextOf(list->LineAt(i)));
    return lines;
}

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

    // Types Windows-1252 text, each byte on its key; control characters go on theirs
    // ("\t" Tab, "\r" Enter, "\x1b" Escape, "\b" Backspace).
    void Type(const std::string& text)
    {
        for (char c : text) {
            auto code = uint8_t(c);
            // '\\' shares its code with a Windows key: typed on the key beside Enter.
            desktop.TypeKey(code >= 'a' && code <= 'z' ? code - 32u : code == '\\' ? 0xDCu : code, code);
            Pump();
        }
    }

    void Key(uint32_t virtualKey, uint32_t character = 0)
    {
        desktop.TypeKey(virtualKey, character);
        Pump();
    }

    // Control pressed and released alone, then a character: a prefix command.
    void Command(char c)
    {
        Key(platform::VK_CONTROL);
        Type(std::string(1, c));
    }

    // A window and what lies on it as the screen shows it, written to
    // widget-pictures/NAME.png for people to look at.
    void SavePicture(CWindow* window, const std::string& name)
    {
        platform::PRect outer;
        ASSERT_TRUE(desktop.GetWindowRect(window->handle, outer));
        PSurface picture(outer.Width(), outer.Height());
        for (int y = 0; y < outer.Height(); y++)
            for (int x = 0; x < outer.Width(); x++) {
                platform::PHandle shown = desktop.WindowAt(outer.left + x, outer.top + y);
                platform::PRect at;
                desktop.GetWindowRect(shown, at);
                picture.SetPixel(x, y, desktop.GetWindowPixel(shown, outer.left + x - at.left, outer.top + y - at.top));
            }
        std::filesystem::create_directory("widget-pictures");
        EXPECT_EQ(WriteSurfacePng(picture, ("widget-pictures/" + name + ".png").c_str()), 1);
    }

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
