#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/AjustorProgram.h"
#include "app/Aviso.h"
#include "app/Basicad.h"
#include "app/CMainw.h"
#include "app/Ponderat.h"
#include "core/CList.h"
#include "core/CString.h"
#include "platform/PSurface.h"
#include "platform/headless/PHeadlessSystem.h"
#include "tests/common/DesktopLoop.h"
#include "tests/common/FolderPaths.h"
#include "toolkit/CBasicWindowDecoration.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTextEdit.h"

// The program on the in-memory desktop (1024 × 768), started in a folder of its own
// that holds "Dades"; a person's pointer clicks and keys go through the test driver.
class AppWindowTest : public ::testing::Test {
public:
    static std::string Text(CString* s)
    {
        return s && s->GetLength() ? std::string(s->GetBuffer(), s->GetLength()) : "";
    }

    // Paths joined as the program joins them ("\" on Windows).
    static std::string Join(const std::string& folder, const std::string& name)
    {
        return folder_paths::Join(folder, name);
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(folder_paths::FsPath(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

protected:
    void SetUp() override
    {
        PrepareAjustor();
        previous = platform::InstallWindowSystem(&desktop);
        app = new CGApplication();
        ASSERT_EQ(app->Initialise(), 1);
        started = folder_paths::CurrentFolder();
        root = folder_paths::MakeNativeTempFolder("ajustor-app");
        ASSERT_FALSE(root.empty());
        dades = Join(root, "Dades");
        std::filesystem::create_directory(folder_paths::FsPath(dades));
        ASSERT_TRUE(folder_paths::ChangeFolder(root));
    }

    void TearDown() override
    {
        window.Clear();
        app->Cleanup();
        delete app;
        platform::InstallWindowSystem(previous);
        EXPECT_TRUE(folder_paths::ChangeFolder(started));
        std::error_code ignored;
        std::filesystem::permissions(folder_paths::FsPath(root), std::filesystem::perms::owner_all, ignored);
        std::filesystem::permissions(folder_paths::FsPath(dades), std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(folder_paths::FsPath(root), ignored);
    }

    // A folder of the build named as the test started: a build path without a drive
    // letter names a place on the current drive, which is no longer the build's.
    std::string InBuild(const std::string& path) const
    {
        return folder_paths::Utf8((folder_paths::FsPath(started) / folder_paths::FsPath(path)).make_preferred());
    }

    // Opens the main window as start-up does, with the build's pictures or others.
    CMainw* Start(const std::string& pictures = {})
    {
        window = OpenMainWindow(app, pictures.empty() ? InBuild(PICTURE_FOLDER) : pictures);
        Pump();
        return Main();
    }

    CMainw* Main() const { return window.As<CMainw>(); }
    CTextEdit* Column(int k) const { return Main()->GetColumn(k); }

    void Pump() { PumpDesktop(app, desktop); }

    platform::PPoint At(CWindow* w, int x, int y)
    {
        platform::PRect rect;
        EXPECT_TRUE(desktop.GetWindowRect(w->handle, rect));
        return {rect.left + x, rect.top + y};
    }

    void ClickAt(CWindow* w, int x, int y)
    {
        platform::PPoint p = At(w, x, y);
        desktop.Click(p.x, p.y);
        Pump();
    }

    void Click(const Variable& button)
    {
        auto* w = button.CheckedAs<CWindow>();
        ASSERT_NE(w, nullptr);
        ClickAt(w, w->width / 2, w->height / 2);
    }

    // Types Windows-1252 text as key presses with their characters; "\n" is Enter.
    void Type(const std::string& text)
    {
        for (char c : text) {
            if (c == '\n')
                desktop.TypeKey(platform::VK_RETURN, 13);
            else
                desktop.TypeKey(KeyOf(uint8_t(c)), uint8_t(c));
        }
        Pump();
    }

    // The key a character is typed with on a Spanish keyboard, near enough: punctuation
    // on its own keys, never on a command key such as Delete (46, the code of '.').
    static uint32_t KeyOf(uint8_t c)
    {
        if (c >= 'a' && c <= 'z')
            return c - 32u;
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ')
            return c;
        return c == '.' ? 0xBE : c == ',' ? 0xBC : c == '-' ? 0xBD : 0xDE;
    }

    void Key(uint32_t virtualKey, uint32_t character = 0)
    {
        desktop.TypeKey(virtualKey, character);
        Pump();
    }

    // Types a data set as a person does: a click on the first row of each column, then
    // its cells, each ended with Enter, which leaves an empty row after the last.
    void TypeColumns(const std::vector<std::vector<std::string>>& cells)
    {
        for (size_t k = 0; k < cells.size(); k++) {
            CTextEdit* column = Column(int(k));
            ClickAt(column, 20, column->rowHeight / 2);
            for (const std::string& cell : cells[k])
                Type(cell + "\n");
        }
    }

    CFileChooser* Chooser() const { return Main()->chooser.CheckedAs<CFileChooser>(); }

    static CBasicWindowDecoration* Frame(CBasicWindow* w)
    {
        return w ? w->decoration.CheckedAs<CBasicWindowDecoration>() : nullptr;
    }

    std::string Title(CBasicWindow* w)
    {
        auto* frame = Frame(w);
        return frame ? desktop.GetWindowText(frame->handle) : "<none>";
    }

    // The top-left corner of a decorated window's frame on the screen.
    platform::PPoint FrameCorner(CBasicWindow* w) { return At(Frame(w), 0, 0); }

    // Closes a decorated window with the close button of its title bar, as a person
    // clears the view onto the window below.
    void CloseByTitleBar(CBasicWindow* w)
    {
        auto* frame = Frame(w);
        ASSERT_NE(frame, nullptr);
        Click(frame->closeButton);
        EXPECT_FALSE(w->visible);
    }

    // Closes a result window and its plot, which cover the main window.
    void CloseResult()
    {
        auto* result = Main()->resultWindow.CheckedAs<CBasicWindow>();
        ASSERT_NE(result, nullptr);
        CBasicWindow* plot = PlotOf(result);
        CloseByTitleBar(result);  // first: it covers the plot's title bar
        if (plot)
            CloseByTitleBar(plot);
    }

    static CBasicWindow* PlotOf(CBasicWindow* result);

    // Answers the open chooser: the name field emptied, the name typed, then "O.k"
    // (or "Cancelar") clicked.
    void Answer(CFileChooser* chooser, const std::string& name, bool confirm = true)
    {
        ASSERT_NE(chooser, nullptr);
        ASSERT_EQ(app->activeWindow, chooser->GetNameField());
        Key(platform::VK_ESCAPE, 27);
        Type(name);
        Click(confirm ? chooser->okButton : chooser->cancelButton);
    }

    static std::vector<std::string> LinesOf(CTextEdit* column)
    {
        std::vector<std::string> lines;
        for (uint32_t i = 0; column && i < column->GetLineCount(); i++)
            lines.push_back(Text(column->LineAt(i)));
        return lines;
    }

    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream(folder_paths::FsPath(path), std::ios::binary) << bytes;
    }

    // The message window the main window opened last, when it is shown.
    Aviso* Message(const Variable& field) const
    {
        auto* message = field.CheckedAs<Aviso>();
        return message && message->visible ? message : nullptr;
    }

    // The message window a field holds is shown with this text and takes the keyboard:
    // Enter closes it.
    void ExpectMessage(const Variable& field, const std::string& text)
    {
        auto* message = Message(field);
        ASSERT_NE(message, nullptr) << text;
        EXPECT_EQ(message->GetMessage(), text);
        EXPECT_EQ(Title(message), "Aviso");
        EXPECT_EQ(app->activeWindow, message->acceptButton.Get());
        Key(platform::VK_RETURN, 13);
        EXPECT_FALSE(message->visible);
    }

    platform::PHeadlessSystem desktop;
    platform::PWindowSystem* previous = nullptr;
    CGApplication* app = nullptr;
    Variable window;
    std::string started;
    std::string root;
    std::string dades;
};

inline CBasicWindow* AppWindowTest::PlotOf(CBasicWindow* result)
{
    auto* window = dynamic_cast<CResultWindow*>(result);
    return window ? window->plotWindow.CheckedAs<CBasicWindow>() : nullptr;
}
