// The toolkit on a real X server: a private Xvfb, input sent through the server, and
// the clipboard shared with xclip, small texts and large blocks of rows pasted into a
// ring of columns.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/CString.h"
#include "platform/x11/PX11SlowOwner.h"
#include "platform/x11/PXvfbServer.h"
#include "tests/toolkit/X11Session.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CWindow.h"
#include "toolkit/Notice.h"

using namespace std::chrono;

namespace {
struct Heard {
    CObject* receiver;
    int32_t type;
    int32_t value;
};

class CListener : public CWindow {
public:
    CListener(CGApplication* app, std::vector<Heard>* heardLog) : CWindow(app), heard(heardLog)
    {
        className = "CListener";
    }
    ~CListener() override { LeaveRegistry(); }
    void HandleEvent(CEvent event) override
    {
        if (event.source == application || event.type == EV_NOTICE)
            heard->push_back({this, event.type, event.value});
        CWindow::HandleEvent(event);
    }
    std::vector<Heard>* heard;
};

// A program run beside the loop, which keeps answering the X server meanwhile.
struct ChildRun {
    int status = -1;
    std::string output;
};

// Rows of four cells as a spreadsheet copies them: tabs between, a line feed after;
// 28 bytes a row.
std::string Block(int rows, int tag)
{
    std::string block;
    char row[64];
    for (int i = 0; i < rows; i++)
        block.append(row, size_t(std::snprintf(row, sizeof row, "%06d.%d\t0.1%d\t%06d.%d\t0.2%d\n", i, tag, i % 10,
                                               2 * i % 1000000, tag, i % 7)));
    return block;
}

// The rows of a ring of columns, written back as a block.
std::string Joined(CTextEdit* const columns[4])
{
    std::string block;
    for (uint32_t row = 0; row < columns[0]->GetLineCount(); row++)
        for (int k = 0; k < 4; k++) {
            CString* cell = columns[k]->LineAt(row);
            block.append(cell->GetBuffer(), cell->GetLength());
            block += k < 3 ? '\t' : '\n';
        }
    return block;
}
}  // namespace

class X11Test : public ::testing::Test, protected X11Session {
protected:
    static void SetUpTestSuite()
    {
        server = new platform::PXvfbServer();
        started = server->Start();
    }

    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    void SetUp() override
    {
        // No silent skip: without Xvfb these tests fail and say why.
        ASSERT_TRUE(started) << server->GetError();
        ASSERT_NO_FATAL_FAILURE(OpenSession(server->GetDisplayName()));
    }

    void TearDown() override { CloseSession(); }

    bool HasHeard(CObject* receiver, int32_t type)
    {
        for (const auto& h : heard)
            if (h.receiver == receiver && h.type == type)
                return true;
        return false;
    }

    bool HasHeard(CObject* receiver, int32_t type, int32_t value)
    {
        for (const auto& h : heard)
            if (h.receiver == receiver && h.type == type && h.value == value)
                return true;
        return false;
    }

    CListener* NewListener(int x, int y, int w, int h, CWindow* parent)
    {
        auto* window = new CListener(app, &heard);
        held.emplace_back(window);
        window->Create(x, y, w, h, parent, NoTitle, 90, 160, 220);
        return window;
    }

    // Runs a program with the given input, stepping the loop until it ends.
    ChildRun RunBeside(const std::vector<const char*>& argv, const std::string& input, int timeoutMs = 5000)
    {
        int in[2], out[2];
        ChildRun run;
        if (pipe(in) != 0 || pipe(out) != 0)
            return run;
        pid_t pid = fork();
        if (pid == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
            std::vector<char*> args;
            for (const char* a : argv)
                args.push_back(const_cast<char*>(a));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        if (!input.empty() && write(in[1], input.data(), input.size()) < 0)
            ADD_FAILURE() << "could not feed " << argv[0];
        close(in[1]);
        fcntl(out[0], F_SETFL, O_NONBLOCK);
        auto deadline = steady_clock::now() + milliseconds(timeoutMs);
        app->looping = 1;
        while (steady_clock::now() < deadline) {
            app->Step();
            char buffer[256];
            ssize_t n;
            while ((n = read(out[0], buffer, sizeof buffer)) > 0)
                run.output.append(buffer, size_t(n));
            if (waitpid(pid, &run.status, WNOHANG) == pid)
                break;
        }
        app->looping = 0;
        if (run.status == -1) {
            kill(pid, SIGKILL);
            waitpid(pid, &run.status, 0);
        }
        char buffer[256];
        ssize_t n;
        while ((n = read(out[0], buffer, sizeof buffer)) > 0)
            run.output.append(buffer, size_t(n));
        close(out[0]);
        return run;
    }

    static platform::PXvfbServer* server;
    static int started;
    std::vector<Heard> heard;
};

platform::PXvfbServer* X11Test::server = nullptr;
int X11Test::started = 0;

TEST_F(X11Test, WindowIsShownAndARealClickArrivesAsClick)
{
    CListener* top = NewListener(100, 100, 300, 200, nullptr);
    CListener* button = NewListener(20, 20, 80, 30, top);
    top->Show();
    button->Show();
    ASSERT_TRUE(StepUntil([&] { return system->IsShown(button->handle) && HasHeard(top, EV_PAINT); }));
    EXPECT_TRUE(HasHeard(top, EV_SHOW));

    ChildRun click = RunBeside({"xdotool", "mousemove", "150", "135", "click", "1"}, "");
    ASSERT_EQ(click.status, 0) << "xdotool failed: is it installed? tools/install-deps installs it";
    ASSERT_TRUE(StepUntil([&] { return HasHeard(button, EV_CLICK); }));
    EXPECT_TRUE(HasHeard(button, EV_LBUTTONDOWN));
    EXPECT_TRUE(HasHeard(button, EV_LBUTTONUP));
    EXPECT_EQ(app->activeWindow, button);

    // Pressed on the button, released outside: no click.
    heard.clear();
    driver.MovePointer(150, 135);
    driver.Button(1, true);
    ASSERT_TRUE(StepUntil([&] { return HasHeard(button, EV_LBUTTONDOWN); }));
    driver.MovePointer(350, 250);
    driver.Button(1, false);
    ASSERT_TRUE(StepUntil([&] { return HasHeard(button, EV_LBUTTONUP); }));
    StepUntil([] { return false; }, 100);
    EXPECT_FALSE(HasHeard(button, EV_CLICK));
}

TEST_F(X11Test, TypedTextArrivesAsWindows1252Characters)
{
    CListener* top = NewListener(50, 50, 200, 100, nullptr);
    CListener* field = NewListener(10, 10, 100, 20, top);
    top->Show();
    field->Show();
    ASSERT_TRUE(StepUntil([&] { return system->IsShown(field->handle) && HasHeard(field, EV_PAINT); }));
    app->Activate(top);
    app->Activate(field);  // moves the keyboard focus to the field's window
    driver.Sync();
    heard.clear();

    driver.TypeKeySymbol(0x61);   // a
    driver.TypeKeySymbol(0xF1);   // ñ, not on the default keyboard map
    driver.TypeKeySymbol(0xFF0D);  // Return
    std::vector<int32_t> characters;
    auto typed = [&] {
        characters.clear();
        for (const auto& h : heard)
            if (h.receiver == field && h.type == EV_CHAR)
                characters.push_back(h.value);
        return characters.size() >= 3;
    };
    ASSERT_TRUE(StepUntil(typed));
    EXPECT_EQ(characters, (std::vector<int32_t>{'a', 0xF1, 13}));
    std::vector<int32_t> keys;
    for (const auto& h : heard)
        if (h.receiver == field && h.type == EV_KEYDOWN)
            keys.push_back(h.value);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0], 'A');
    EXPECT_EQ(keys[2], int32_t(platform::VK_RETURN));
}

TEST_F(X11Test, ClipboardIsSharedWithOtherPrograms)
{
    Variable text(new CString(app));
    text.As<CString>()->SetText("A\xF1" "adir 1,5 \x80");
    app->SetClipboardText(text.As<CString>());
    ChildRun paste = RunBeside({"xclip", "-selection", "clipboard", "-o"}, "");
    ASSERT_EQ(paste.status, 0) << "xclip failed: is it installed? tools/install-deps installs it";
    EXPECT_EQ(paste.output, "A\xC3\xB1" "adir 1,5 \xE2\x82\xAC");

    // Another program copies; this one pastes. xclip serves one request, then ends.
    pid_t pid = StartBeside({"xclip", "-quiet", "-loops", "1", "-selection", "clipboard", "-i"},
                            "Ca\xC3\xB1\xC3\xB3n \xE2\x82\xAC");
    ASSERT_GT(pid, 0);
    Variable pasted;
    auto deadline = steady_clock::now() + seconds(5);
    while (steady_clock::now() < deadline) {
        CString* got = app->GetClipboardText();
        if (got && got->Equals("Ca\xF1\xF3n \x80")) {
            pasted = got;
            break;
        }
        Variable drop(got);
        usleep(20000);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    ASSERT_TRUE(pasted);
}

// Control+V in a ring of four columns: a block far larger than one X request arrives
// whole and the program that offered it is answered; a transfer that stalls arrives not
// at all, with a notice, and its late pieces never reach a later paste; a large copy
// of this program's own reaches another program whole.
TEST_F(X11Test, BlocksOfAnySizeArriveWholeOrNotAtAll)
{
    CListener* top = NewListener(40, 40, 440, 300, nullptr);
    CTextEdit* columns[4];
    for (int k = 0; k < 4; k++) {
        columns[k] = new CTextEdit(app);
        held.emplace_back(columns[k]);
        columns[k]->Create(10 + 105 * k, 10, 100, 280, top, NoTitle, 255, 236, 192);
    }
    for (int k = 0; k < 4; k++)
        columns[k]->SetNext(columns[(k + 1) % 4]);
    top->Show();
    for (CTextEdit* column : columns)
        column->Show();
    ASSERT_TRUE(StepUntil([&] { return system->IsShown(columns[3]->handle) && HasHeard(top, EV_PAINT); }));
    app->Activate(top);
    app->Activate(columns[0]->GetEditor());
    driver.Sync();
    auto clear = [&] {
        for (CTextEdit* column : columns)
            column->Clear();
    };
    // The owner may take a moment to hold the clipboard: until then Control+V pastes
    // nothing, and is tried again.
    auto pasteUntil = [&](const std::function<bool()>& arrived) {
        for (int attempt = 0; attempt < 5 && !arrived(); attempt++) {
            ASSERT_EQ(RunBeside({"xdotool", "key", "ctrl+v"}, "").status, 0) << "xdotool failed";
            StepUntil(arrived, 1500);
        }
    };
    auto answered = [&](pid_t owner) {
        int status = -1;
        bool ended = false;
        StepUntil([&] { return ended = ended || waitpid(owner, &status, WNOHANG) == owner; }, 15000);
        if (!ended) {
            kill(owner, SIGKILL);
            waitpid(owner, nullptr, 0);
        }
        return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };

    std::string large = Block(100000, 1);
    ASSERT_EQ(large.size(), 2800000u);
    pid_t xclip = StartBeside({"xclip", "-quiet", "-loops", "1", "-selection", "clipboard", "-i"}, large);
    ASSERT_GT(xclip, 0);
    pasteUntil([&] { return columns[3]->GetLineCount() > 1; });
    EXPECT_EQ(columns[0]->GetLineCount(), 100000u);
    EXPECT_TRUE(Joined(columns) == large) << "the large block differs";
    EXPECT_TRUE(answered(xclip)) << "xclip was left waiting";

    // An owner that stops after its first piece for longer than the paste waits.
    clear();
    heard.clear();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    std::string display = server->GetDisplayName();
    pid_t slow = fork();
    if (slow == 0) {
        close(ready[0]);
        _exit(platform::ServeClipboardSlowly(display.c_str(), Block(30000, 7), 65536, 3000, ready[1], 20000) ? 0 : 1);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    pasteUntil([&] { return HasHeard(top, EV_NOTICE, NoticePasteFailed); });
    EXPECT_TRUE(HasHeard(top, EV_NOTICE, NoticePasteFailed));
    EXPECT_TRUE(answered(slow)) << "the stalled owner was left waiting";
    EXPECT_EQ(Joined(columns), "\t\t\t\n");

    // The next paste is exactly the next block: nothing of the stalled one.
    std::string small = Block(1000, 3);
    xclip = StartBeside({"xclip", "-quiet", "-loops", "1", "-selection", "clipboard", "-i"}, small);
    pasteUntil([&] { return columns[3]->GetLineCount() > 1; });
    EXPECT_EQ(Joined(columns), small);
    EXPECT_TRUE(answered(xclip));

    Variable copy(new CString(app));
    copy.As<CString>()->SetText(large.data(), uint32_t(large.size()));
    app->SetClipboardText(copy.As<CString>());
    ChildRun paste = RunBeside({"xclip", "-selection", "clipboard", "-o"}, "", 20000);
    EXPECT_EQ(paste.status, 0);
    EXPECT_TRUE(paste.output == large) << "xclip read " << paste.output.size() << " bytes of " << large.size();
}

TEST_F(X11Test, WheelAndCloseRequestArriveAsEvents)
{
    CListener* top = NewListener(100, 100, 200, 100, nullptr);
    top->Show();
    ASSERT_TRUE(StepUntil([&] { return system->IsShown(top->handle) && HasHeard(top, EV_PAINT); }));
    driver.MovePointer(150, 150);
    driver.Button(4, true);
    driver.Button(4, false);
    driver.Button(5, true);
    driver.Button(5, false);
    ASSERT_TRUE(StepUntil([&] { return HasHeard(top, EV_WHEEL, -3) && HasHeard(top, EV_WHEEL, 3); }));

    driver.RequestClose(top->handle);
    ASSERT_TRUE(StepUntil([&] { return HasHeard(top, EV_HIDE); }));
    EXPECT_TRUE(HasHeard(top, EV_CLOSE));
    EXPECT_EQ(top->created, 1);
    EXPECT_TRUE(system->IsWindow(top->handle));
    ASSERT_TRUE(StepUntil([&] { return !system->IsShown(top->handle); }));

    // No compositor runs on the test server: translucency is not offered.
    EXPECT_EQ(system->OffersTranslucency(), 0);
    EXPECT_EQ(system->SetWindowAlpha(top->handle, 180), 0);
}

TEST(X11Start, WithoutADisplayTheProgramSaysSoAndFails)
{
    EXPECT_EQ(platform::PX11System::Open(":987"), nullptr);
    setenv("DISPLAY", ":987", 1);
    EXPECT_EXIT(platform::OpenX11OrExit(), testing::ExitedWithCode(1), "No se puede abrir la pantalla X11");
}
