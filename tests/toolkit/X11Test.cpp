// The toolkit on a real X server: a private Xvfb, input sent through the server, and
// the clipboard shared with xclip, small texts and large blocks of rows pasted into a
// ring of columns.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "core/CString.h"
#include "platform/x11/PX11SlowOwner.h"
#include "tests/toolkit/X11Session.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/CWindow.h"
#include "toolkit/Notice.h"

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

class X11Test : public X11Session {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(OpenSession(false)); }

    // Whether the receiver heard an event of this type (and this value, when given).
    bool HasHeard(CObject* receiver, int32_t type, std::optional<int32_t> value = {})
    {
        for (const auto& h : heard)
            if (h.receiver == receiver && h.type == type && (!value || h.value == *value))
                return true;
        return false;
    }

    CListener* NewListener(int x, int y, int w, int h, CWindow* parent)
    {
        auto* window = new CListener(app, &heard);
        held.emplace_back(window);
        window->Create(x, y, w, h, parent, NoTitle, 90, 160, 220);
        window->Show();
        return window;
    }

    // Steps the loop until a program started beside it ends, killed after `timeoutMs`;
    // whether it exited with status 0. What it wrote on `output` goes to `text`.
    bool Finish(pid_t pid, int timeoutMs, int output = -1, std::string* text = nullptr)
    {
        auto drain = [&] {
            char buffer[4096];
            for (ssize_t n; output >= 0 && (n = read(output, buffer, sizeof buffer)) > 0;)
                text->append(buffer, size_t(n));
        };
        int status = -1;
        bool ended = false;
        StepUntil([&] {
            drain();
            return ended = ended || waitpid(pid, &status, WNOHANG) == pid;
        }, timeoutMs);
        if (!ended) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        drain();
        if (output >= 0)
            close(output);
        return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // Runs a program to its end, the loop answering the X server meanwhile; whether it
    // succeeded, and its standard output.
    bool Run(const std::vector<const char*>& argv, std::string* output = nullptr, int timeoutMs = 5000)
    {
        int out = -1;
        std::string ignored;
        pid_t pid = StartBeside(argv, "", &out);
        return pid > 0 && Finish(pid, timeoutMs, out, output ? output : &ignored);
    }

    std::vector<Heard> heard;
};

// A click, a press released elsewhere, typed keys, the wheel and the window manager's
// close request, each sent through the server.
TEST_F(X11Test, RealInputArrivesAsEvents)
{
    CListener* top = NewListener(100, 100, 300, 200, nullptr);
    CListener* button = NewListener(20, 20, 80, 30, top);
    ASSERT_TRUE(StepUntil([&] { return system->IsShown(button->handle) && HasHeard(top, EV_PAINT); }));
    EXPECT_TRUE(HasHeard(top, EV_SHOW));

    ASSERT_TRUE(Run({"xdotool", "mousemove", "150", "135", "click", "1"}))
        << "xdotool failed: is it installed? tools/install-deps installs it";
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
    StepFor(100);
    EXPECT_FALSE(HasHeard(button, EV_CLICK));

    // Keys as Windows-1252 characters; ñ is not on the default keyboard map.
    app->Activate(top);
    app->Activate(button);  // moves the keyboard focus to the button's window
    driver.Sync();
    heard.clear();
    for (unsigned long symbol : {0x61, 0xF1, 0xFF0D})  // a, ñ, Return
        driver.TypeKeySymbol(symbol);
    auto heardAs = [&](int32_t type) {
        std::vector<int32_t> values;
        for (const auto& h : heard)
            if (h.receiver == button && h.type == type)
                values.push_back(h.value);
        return values;
    };
    ASSERT_TRUE(StepUntil([&] { return heardAs(EV_CHAR).size() >= 3; }));
    EXPECT_EQ(heardAs(EV_CHAR), (std::vector<int32_t>{'a', 0xF1, 13}));
    std::vector<int32_t> keys = heardAs(EV_KEYDOWN);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0], 'A');
    EXPECT_EQ(keys[2], int32_t(platform::VK_RETURN));

    // The wheel, away from the button.
    driver.MovePointer(350, 250);
    for (int wheel : {4, 5}) {
        driver.Button(wheel, true);
        driver.Button(wheel, false);
    }
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

// The clipboard shared with another program (xclip) both ways, in Windows-1252 here and
// UTF-8 there; then Control+V in a ring of four columns: a block far larger than one X
// request arrives whole and the program that offered it is answered; a transfer that
// stalls arrives not at all, with a notice, and its late pieces never reach a later
// paste; a large copy of this program's own reaches another program whole.
TEST_F(X11Test, TheClipboardIsSharedInAnySize)
{
    Variable text(new CString(app));
    text.As<CString>()->SetText("A\xF1" "adir 1,5 \x80");
    app->SetClipboardText(text.As<CString>());
    std::string out;
    ASSERT_TRUE(Run({"xclip", "-selection", "clipboard", "-o"}, &out))
        << "xclip failed: is it installed? tools/install-deps installs it";
    EXPECT_EQ(out, "A\xC3\xB1" "adir 1,5 \xE2\x82\xAC");

    auto offer = [&](const std::string& bytes) {
        return StartBeside({"xclip", "-quiet", "-loops", "1", "-selection", "clipboard", "-i"}, bytes);
    };
    pid_t xclip = offer("Ca\xC3\xB1\xC3\xB3n \xE2\x82\xAC");
    ASSERT_GT(xclip, 0);
    // Asked until xclip holds the clipboard; it serves one request, then ends.
    bool pasted = false;
    StepUntil([&] {
        Variable got(app->GetClipboardText());
        return pasted = pasted || (got && got.As<CString>()->Equals("Ca\xF1\xF3n \x80"));
    }, 5000);
    EXPECT_TRUE(pasted);
    kill(xclip, SIGTERM);
    waitpid(xclip, nullptr, 0);

    CListener* top = NewListener(40, 40, 440, 300, nullptr);
    CTextEdit* columns[4];
    for (int k = 0; k < 4; k++) {
        columns[k] = new CTextEdit(app);
        held.emplace_back(columns[k]);
        columns[k]->Create(10 + 105 * k, 10, 100, 280, top, NoTitle, 255, 236, 192);
        columns[k]->Show();
    }
    for (int k = 0; k < 4; k++)
        columns[k]->SetNext(columns[(k + 1) % 4]);
    ASSERT_TRUE(StepUntil([&] { return system->IsShown(columns[3]->handle) && HasHeard(top, EV_PAINT); }));
    app->Activate(top);
    app->Activate(columns[0]->GetEditor());
    driver.Sync();
    // The owner may take a moment to hold the clipboard: until then Control+V pastes
    // nothing, and is tried again.
    auto pasteUntil = [&](const std::function<bool()>& arrived) {
        for (int attempt = 0; attempt < 5 && !arrived(); attempt++) {
            ASSERT_TRUE(Run({"xdotool", "key", "ctrl+v"})) << "xdotool failed";
            StepUntil(arrived, 1500);
        }
    };
    auto rowsArrived = [&] { return columns[3]->GetLineCount() > 1; };

    std::string large = Block(100000, 1);
    ASSERT_EQ(large.size(), 2800000u);
    xclip = offer(large);
    ASSERT_GT(xclip, 0);
    pasteUntil(rowsArrived);
    EXPECT_EQ(columns[0]->GetLineCount(), 100000u);
    EXPECT_TRUE(Joined(columns) == large) << "the large block differs";
    EXPECT_TRUE(Finish(xclip, 15000)) << "xclip was left waiting";

    // An owner that stops after its first piece for longer than the paste waits.
    for (CTextEdit* column : columns)
        column->Clear();
    heard.clear();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
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
    EXPECT_TRUE(Finish(slow, 15000)) << "the stalled owner was left waiting";
    EXPECT_EQ(Joined(columns), "\t\t\t\n");

    // The next paste is exactly the next block: nothing of the stalled one.
    std::string small = Block(1000, 3);
    xclip = offer(small);
    pasteUntil(rowsArrived);
    EXPECT_EQ(Joined(columns), small);
    EXPECT_TRUE(Finish(xclip, 15000));

    Variable copy(new CString(app));
    copy.As<CString>()->SetText(large.data(), uint32_t(large.size()));
    app->SetClipboardText(copy.As<CString>());
    out.clear();
    EXPECT_TRUE(Run({"xclip", "-selection", "clipboard", "-o"}, &out, 20000));
    EXPECT_TRUE(out == large) << "xclip read " << out.size() << " bytes of " << large.size();
}

TEST(X11Start, WithoutADisplayTheProgramSaysSoAndFails)
{
    EXPECT_EQ(platform::PX11System::Open(":987"), nullptr);
    setenv("DISPLAY", ":987", 1);
    EXPECT_EXIT(platform::OpenX11OrExit(), testing::ExitedWithCode(1), "No se puede abrir la pantalla X11");
}
