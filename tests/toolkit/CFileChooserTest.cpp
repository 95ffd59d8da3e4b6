#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/CList.h"
#include "core/CString.h"
#include "platform/PCodePage.h"
#include "platform/PSurface.h"
#include "platform/PngWriter.h"
#include "toolkit/CBasicWindow.h"
#include "toolkit/CBasicWindowDecoration.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CFileChooser.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"
#include "tests/common/FolderPaths.h"
#include "WidgetFixture.h"

using namespace platform;
namespace fs = std::filesystem;
using folder_paths::FsPath;
using folder_paths::Join;
using folder_paths::RootOf;
using folder_paths::Roots;

namespace {
std::string CurrentDirectory() { return folder_paths::CurrentFolder(); }

bool ChangeDirectory(const std::string& path) { return folder_paths::ChangeFolder(path); }

// The separator the chooser joins with, as typed text.
const std::string Sep(1, folder_paths::Separator);

std::string Text(CString* text)
{
    return text && text->GetLength() ? std::string(text->GetBuffer(), text->GetLength()) : std::string();
}

// An owner that may let its chooser go when it hears the answer, as a window that
// replaces its dialog would.
class COwner : public CWindow {
public:
    explicit COwner(CGApplication* app) : CWindow(app) { className = "COwner"; }
    ~COwner() override { LeaveRegistry(); }
    void HandleEvent(CEvent event) override
    {
        if (event.type == EV_RESULT) {
            keys.push_back(event.key);
            sources.push_back(event.source);
            if (auto* dialog = chooser.CheckedAs<CFileChooser>(); dialog && event.source == dialog)
                chosen = Text(Variable(dialog->GetChosenName()).As<CString>());
            if (dropOnResult)
                chooser.Clear();
        }
        CWindow::HandleEvent(event);
    }
    Variable chooser;
    bool dropOnResult = false;
    std::vector<int32_t> keys;
    std::vector<CObject*> sources;
    std::string chosen;
};
}  // namespace

// The chooser on the headless desktop, in a folder tree of its own made for each test;
// the process's current directory is put back afterwards.
class FileChooserTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        started = CurrentDirectory();
        tree = folder_paths::MakeNativeTempFolder("chooser");
        ASSERT_FALSE(tree.empty());
        base = Join(tree, "base");
        fs::create_directories(FsPath(Join(Join(base, "sub1"), "deep")));
        fs::create_directories(FsPath(Join(base, "sub2")));
        fs::create_directories(FsPath(Join(tree, "empty")));
        Touch(Join(base, "a.dat"));
        Touch(Join(base, "b.dat"));
        // What a killed save leaves beside its target is never offered as a file.
        Touch(Join(base, ".b.dat.4321-17.tmp"));
        ASSERT_TRUE(ChangeDirectory(base));
        owner = new COwner(app);
        held.emplace_back(owner);
        owner->Create(600, 500, 100, 80, nullptr, NoTitle, 200, 200, 200);
    }

    void TearDown() override
    {
        EXPECT_TRUE(ChangeDirectory(started));
        std::error_code ignored;
        fs::remove_all(FsPath(tree), ignored);
        WidgetTest::TearDown();
    }

    static void Touch(const std::string& path) { std::ofstream(FsPath(path)) << "x"; }

    CFileChooser* Open(const char* title = "Cargar Datos ...")
    {
        auto* chooser = new CFileChooser(app);
        owner->chooser = chooser;
        chooser->OpenChooser(title, owner);
        chooser->Show();
        Pump();
        return chooser;
    }

    // The screen point at (x, y) of a window's client area.
    PPoint At(CWindow* window, int x, int y)
    {
        PRect rect;
        EXPECT_TRUE(desktop.GetWindowRect(window->handle, rect));
        return {rect.left + x, rect.top + y};
    }

    void ClickAt(CWindow* window, int x, int y)
    {
        PPoint p = At(window, x, y);
        desktop.Click(p.x, p.y);
        Pump();
    }

    void ClickLine(CTextEdit* list, uint32_t row)
    {
        ClickAt(list, 20, int(row - list->firstRow) * list->rowHeight + list->rowHeight / 2);
    }

    // Types Windows-1252 text as key presses with their characters.
    void Type(const std::string& text)
    {
        for (char c : text) {
            auto code = uint8_t(c);
            // '\\' shares its code with a Windows key: typed on the key beside Enter.
            desktop.TypeKey(code >= 'a' && code <= 'z' ? code - 32u : code == '\\' ? 0xDCu : code, code);
        }
        Pump();
    }

    void Key(uint32_t virtualKey)
    {
        desktop.TypeKey(virtualKey);
        Pump();
    }

    static std::vector<std::string> Lines(CTextEdit* list)
    {
        std::vector<std::string> lines;
        for (uint32_t i = 0; i < list->GetLineCount(); i++)
            lines.push_back(Text(list->LineAt(i)));
        return lines;
    }

    static int RowOf(CTextEdit* list, const std::string& line)
    {
        std::vector<std::string> lines = Lines(list);
        for (size_t i = 0; i < lines.size(); i++)
            if (lines[i] == line)
                return int(i);
        ADD_FAILURE() << "no line " << line;
        return 0;
    }

    // Makes the last directory line current with Down keys in the name field.
    void SelectLast(CTextEdit* directories)
    {
        for (int guard = 0; guard < 100 && directories->GetCurrentRow() + 1 < directories->GetLineCount(); guard++)
            Key(VK_DOWN);
    }

    static std::string Name(CFileChooser* chooser) { return Text(chooser->GetNameField()->GetText()); }

    // The dialog as the screen shows it, frame and title bar included.
    void SavePicture(CFileChooser* chooser, const std::string& path)
    {
        auto* frame = chooser->decoration.As<CBasicWindowDecoration>();
        PRect outer;
        ASSERT_TRUE(desktop.GetWindowRect(frame->handle, outer));
        PSurface picture(outer.Width(), outer.Height());
        for (int y = 0; y < outer.Height(); y++) {
            for (int x = 0; x < outer.Width(); x++) {
                PHandle window = desktop.WindowAt(outer.left + x, outer.top + y);
                PRect rect;
                desktop.GetWindowRect(window, rect);
                picture.SetPixel(x, y, desktop.GetWindowPixel(window, outer.left + x - rect.left,
                                                              outer.top + y - rect.top));
            }
        }
        EXPECT_EQ(WriteSurfacePng(picture, path.c_str()), 1);
    }

    std::string started;
    std::string tree;
    std::string base;  // the tree's "base" folder, where each test starts
    COwner* owner = nullptr;
};

TEST_F(FileChooserTest, OpensTitledAtItsPlaceWithTheCurrentPathAndTheNameFieldActive)
{
    CFileChooser* chooser = Open();
    auto* frame = chooser->decoration.As<CBasicWindowDecoration>();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(desktop.GetWindowText(frame->handle), "Cargar Datos ...");
    EXPECT_EQ(frame->x, 128);
    EXPECT_EQ(frame->y, 64);
    EXPECT_EQ(chooser->width, 390);
    EXPECT_EQ(chooser->height, 364);
    EXPECT_TRUE(desktop.IsVisible(chooser->handle));
    EXPECT_TRUE(desktop.IsVisible(frame->handle));

    struct {
        CWindow* child;
        int x, y, w, h;
    } layout[] = {
        {chooser->directoryScroller.As<CWindow>(), 17, 52, 16, 248},
        {chooser->GetDirectoryList(), 32, 48, 148, 256},
        {chooser->fileScroller.As<CWindow>(), 209, 52, 16, 248},
        {chooser->GetFileList(), 224, 48, 148, 256},
        {chooser->GetNameField(), 16, 306, 356, 20},
        {chooser->cancelButton.As<CWindow>(), 17, 330, 165, 22},
        {chooser->okButton.As<CWindow>(), 209, 330, 165, 22},
    };
    for (const auto& place : layout) {
        ASSERT_NE(place.child, nullptr);
        EXPECT_EQ(place.child->GetParent(), chooser);
        EXPECT_EQ(place.child->x, place.x);
        EXPECT_EQ(place.child->y, place.y);
        EXPECT_EQ(place.child->width, place.w);
        EXPECT_EQ(place.child->height, place.h);
        EXPECT_TRUE(desktop.IsVisible(place.child->handle)) << place.child->GetClassName();
    }
    EXPECT_EQ(Text(chooser->okButton.As<CButton>()->caption.As<CString>()), "O.k");
    EXPECT_EQ(Text(chooser->cancelButton.As<CButton>()->caption.As<CString>()), "Cancelar");

    // The lists: directories with the roots after them, the files on the right.
    std::vector<std::string> directories = {".", "..", "sub1", "sub2"};
    for (const std::string& root : Roots())
        directories.push_back(root);
    EXPECT_EQ(Lines(chooser->GetDirectoryList()), directories);
    EXPECT_EQ(Lines(chooser->GetFileList()), (std::vector<std::string>{"a.dat", "b.dat"}));

    // The name field holds the path and the keyboard: typing goes on after the path.
    EXPECT_EQ(Name(chooser), base);
    EXPECT_EQ(app->activeWindow, chooser->GetNameField());
    Type(Sep + "nuevo.dat");
    EXPECT_EQ(Name(chooser), base + Sep + "nuevo.dat");
    ClickAt(chooser->okButton.As<CWindow>(), 80, 11);
    EXPECT_EQ(owner->keys, std::vector<int32_t>{1});
    EXPECT_EQ(owner->chosen, base + Sep + "nuevo.dat");
}

// Folders first and then files, each by name whatever the case, and the wheel over a
// list scrolls it.
TEST_F(FileChooserTest, ListsAreSortedByNameAndTheWheelScrollsThem)
{
    for (const char* folder : {"Beta", "alpha", "_z", "10"})
        fs::create_directories(FsPath(Join(base, folder)));
    // Built piece by piece: MinGW's GCC 12 sees a false overlap in "F" + string.
    auto numbered = [](int i) {
        std::string name(i % 2 ? "F" : "f");
        name += std::to_string(100 + i);
        name += ".dat";
        return name;
    };
    for (int i = 0; i < 30; i++)
        Touch(Join(base, numbered(i)));
    Touch(Join(base, "Zeta.txt"));
    Touch(Join(base, "\xc3\x81rbol.dat"));  // UTF-8 on disk
    CFileChooser* chooser = Open();
    std::vector<std::string> directories = {".", "..", "10", "_z", "alpha", "Beta", "sub1", "sub2"};
    for (const std::string& root : Roots())
        directories.push_back(root);
    EXPECT_EQ(Lines(chooser->GetDirectoryList()), directories);
    std::vector<std::string> files = {"a.dat", "b.dat"};
    for (int i = 0; i < 30; i++)
        files.push_back(numbered(i));
    files.push_back("Zeta.txt");
    files.push_back("\xc1rbol.dat");  // in the code page: its letters, capitals folded, follow z
    EXPECT_EQ(Lines(chooser->GetFileList()), files);

    CTextEdit* list = chooser->GetFileList();
    PPoint over = At(list, 60, 100);
    desktop.MovePointer(over.x, over.y);
    desktop.TurnWheel(-2 * platform::WHEEL_DELTA);
    Pump();
    EXPECT_EQ(list->GetCurrentRow(), 6u);
    EXPECT_EQ(list->firstRow, 6u);
    EXPECT_EQ(chooser->fileScroller.As<CScroller>()->GetCurrentRow(), 6u);
    EXPECT_EQ(chooser->GetDirectoryList()->GetCurrentRow(), 0u);
    EXPECT_EQ(app->activeWindow, chooser->GetNameField());
    EXPECT_EQ(Name(chooser), base);  // scrolling picks no file
}

TEST_F(FileChooserTest, FilesJoinTheRootWithoutASecondSlashAndOtherFoldersWithOne)
{
    // In a folder: the path, the separator and the name.
    CFileChooser* chooser = Open();
    CTextEdit* files = chooser->GetFileList();
    ClickLine(files, uint32_t(RowOf(files, "b.dat")));
    EXPECT_EQ(Name(chooser), base + Sep + "b.dat");
    // Up and Down in the file list pick as a click does.
    Key(VK_UP);
    EXPECT_EQ(Name(chooser), base + Sep + Text(files->LineAt(files->GetCurrentRow())));
    Key(VK_DOWN);
    EXPECT_EQ(Name(chooser), base + Sep + Text(files->LineAt(files->GetCurrentRow())));

    // In the root, whose path already ends in the separator ("/", "C:\"). Its files
    // are not the test's, so the list is given one.
    const std::string root = RootOf(tree);
    ASSERT_TRUE(ChangeDirectory(root));
    CFileChooser* atRoot = Open("Guardar Datos Como ...");
    EXPECT_EQ(Name(atRoot), root);
    files = atRoot->GetFileList();
    files->Clear();
    files->AddLine("a.dat", 5);
    files->DeleteRow(0);
    ClickLine(files, 0);
    EXPECT_EQ(Name(atRoot), root + "a.dat");
}

TEST_F(FileChooserTest, DirectoryClicksEnterAndGoUpWithoutATrailingSlash)
{
    CFileChooser* chooser = Open();
    CTextEdit* directories = chooser->GetDirectoryList();
    ClickLine(directories, uint32_t(RowOf(directories, "sub1")));
    EXPECT_EQ(CurrentDirectory(), base + Sep + "sub1");
    EXPECT_EQ(Name(chooser), base + Sep + "sub1");
    // The lists are refilled, the first line current and the thumb at the top.
    std::vector<std::string> lines = Lines(directories);
    std::vector<std::string> expected = {".", "..", "deep"};
    for (const std::string& root : Roots())
        expected.push_back(root);
    std::sort(lines.begin(), lines.begin() + std::min<ptrdiff_t>(3, ptrdiff_t(lines.size())));
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(directories->GetCurrentRow(), 0u);
    EXPECT_EQ(Lines(chooser->GetFileList()), std::vector<std::string>{""});
    EXPECT_EQ(chooser->directoryScroller.As<CScroller>()->GetCurrentRow(), 0u);

    ClickLine(directories, uint32_t(RowOf(directories, "..")));
    EXPECT_EQ(CurrentDirectory(), base);
    EXPECT_EQ(Name(chooser), base);
    ClickLine(directories, uint32_t(RowOf(directories, "..")));
    EXPECT_EQ(Name(chooser), tree);

    // The root line leads to the root ("/", "C:\"), where ".." goes nowhere.
    const std::string root = RootOf(tree);
    ClickLine(directories, uint32_t(RowOf(directories, root)));
    EXPECT_EQ(CurrentDirectory(), root);
    EXPECT_EQ(Name(chooser), root);
#ifdef _WIN32
    // A drive root lists no "..": typed, it goes nowhere either.
    lines = Lines(directories);
    EXPECT_EQ(std::find(lines.begin(), lines.end(), ".."), lines.end());
    ClickAt(chooser->GetNameField(), 100, 10);
    Key(VK_ESCAPE);
    Type("..");
    Key(VK_RETURN);
    EXPECT_EQ(CurrentDirectory(), root);
#else
    ClickLine(directories, uint32_t(RowOf(directories, "..")));
#endif
    EXPECT_EQ(Name(chooser), root);
    EXPECT_EQ(owner->keys.size(), 0u);
}

TEST_F(FileChooserTest, EnterInTheNameFieldEntersFoldersAndConfirmsOtherNames)
{
    CFileChooser* chooser = Open();
    // An empty field: nothing to enter, nothing to confirm.
    Key(VK_ESCAPE);
    Key(VK_RETURN);
    EXPECT_TRUE(chooser->visible);
    EXPECT_TRUE(owner->keys.empty());

    // A file's name, existing or new, is confirmed as "O.k" confirms it.
    for (const char* typed : {"a.dat", "nuevo.dat"}) {
        Key(VK_ESCAPE);
        Type(typed);
        Key(VK_RETURN);
        EXPECT_FALSE(chooser->visible) << typed;
        EXPECT_EQ(owner->keys, std::vector<int32_t>{1}) << typed;
        EXPECT_EQ(owner->chosen, typed);
        EXPECT_EQ(CurrentDirectory(), base);
        owner->keys.clear();
        chooser->Show();
        Pump();
    }

    Key(VK_ESCAPE);
    Type("sub2");
    Key(VK_RETURN);
    EXPECT_EQ(CurrentDirectory(), base + Sep + "sub2");
    EXPECT_EQ(Name(chooser), base + Sep + "sub2");
    EXPECT_EQ(Lines(chooser->GetFileList()), std::vector<std::string>{""});

    // A whole path typed after Escape.
    Key(VK_ESCAPE);
    Type(Join(tree, "empty"));
    Key(VK_RETURN);
    EXPECT_EQ(CurrentDirectory(), Join(tree, "empty"));
    EXPECT_EQ(Name(chooser), Join(tree, "empty"));
}

TEST_F(FileChooserTest, TabCompletesDirectoryNames)
{
    CFileChooser* chooser = Open();
    CTextEdit* directories = chooser->GetDirectoryList();

    // A name typed whole is entered at once.
    Key(VK_ESCAPE);
    Type("sub2");
    Key(VK_TAB);
    EXPECT_EQ(CurrentDirectory(), base + Sep + "sub2");
    EXPECT_EQ(Name(chooser), base + Sep + "sub2");
    EXPECT_EQ(app->activeWindow, chooser->GetNameField());

    // ".." typed whole goes up.
    Key(VK_ESCAPE);
    Type("..");
    Key(VK_TAB);
    EXPECT_EQ(CurrentDirectory(), base);

    // A near name: the first Tab selects the closest line, the second enters it and
    // leaves the field empty. The selection starts on the last line, the root.
    SelectLast(directories);
    Key(VK_ESCAPE);
    Type("sub3");
    Key(VK_TAB);
    EXPECT_EQ(Text(directories->LineAt(directories->GetCurrentRow())), "sub2");
    EXPECT_EQ(CurrentDirectory(), base);
    EXPECT_EQ(Name(chooser), "sub3");
    Key(VK_TAB);
    EXPECT_EQ(CurrentDirectory(), base + Sep + "sub2");
    EXPECT_EQ(Name(chooser), "");

    // Of two equally close names the earlier line is taken.
    Type("..");
    Key(VK_RETURN);
    SelectLast(directories);
    Key(VK_ESCAPE);
    Type("su");
    Key(VK_TAB);
    int sub1 = RowOf(directories, "sub1"), sub2 = RowOf(directories, "sub2");
    EXPECT_EQ(int(directories->GetCurrentRow()), std::min(sub1, sub2));
    Key(VK_TAB);
    EXPECT_EQ(CurrentDirectory(), base + Sep + (sub1 < sub2 ? "sub1" : "sub2"));
}

TEST_F(FileChooserTest, ArrowsInTheNameFieldMoveTheDirectorySelection)
{
    CFileChooser* chooser = Open();
    CTextEdit* directories = chooser->GetDirectoryList();
    Key(VK_UP);
    EXPECT_EQ(directories->GetCurrentRow(), 0u);
    for (int i = 0; i < 10; i++)
        Key(VK_DOWN);
    EXPECT_EQ(directories->GetCurrentRow(), directories->GetLineCount() - 1);
    Key(VK_UP);
    EXPECT_EQ(directories->GetCurrentRow(), directories->GetLineCount() - 2);
    EXPECT_EQ(chooser->directoryScroller.As<CScroller>()->GetCurrentRow(), directories->GetLineCount() - 2);
    EXPECT_EQ(app->activeWindow, chooser->GetNameField());
    EXPECT_EQ(CurrentDirectory(), base);
}

TEST_F(FileChooserTest, EachButtonAnswersOnceAndTheTitleBarCloseAnswersNothing)
{
    // Escape empties the field; "O.k" then reports an empty name.
    CFileChooser* chooser = Open();
    Key(VK_ESCAPE);
    EXPECT_EQ(Name(chooser), "");
    EXPECT_EQ(chooser->GetNameField()->caret, 0u);
    ClickAt(chooser->okButton.As<CWindow>(), 80, 11);
    EXPECT_EQ(owner->keys, std::vector<int32_t>{1});
    EXPECT_EQ(owner->sources, std::vector<CObject*>{chooser});
    EXPECT_EQ(owner->chosen, "");
    EXPECT_FALSE(desktop.IsVisible(chooser->handle));
    EXPECT_FALSE(desktop.IsVisible(chooser->decoration.As<CWindow>()->handle));

    // "Cancelar" answers 0, once, however quickly it is clicked twice.
    owner->keys.clear();
    chooser = Open();
    PPoint cancel = At(chooser->cancelButton.As<CWindow>(), 80, 11);
    desktop.Click(cancel.x, cancel.y);
    desktop.Click(cancel.x, cancel.y);
    Pump();
    EXPECT_EQ(owner->keys, std::vector<int32_t>{0});
    EXPECT_FALSE(desktop.IsVisible(chooser->handle));
    chooser->Show();
    Pump();
    ClickAt(chooser->cancelButton.As<CWindow>(), 80, 11);
    EXPECT_EQ(owner->keys, (std::vector<int32_t>{0, 0}));

    // The close button of the title bar hides both windows and tells nobody.
    owner->keys.clear();
    chooser = Open();
    auto* frame = chooser->decoration.As<CBasicWindowDecoration>();
    ClickAt(frame->closeButton.As<CWindow>(), 6, 5);
    EXPECT_FALSE(desktop.IsVisible(chooser->handle));
    EXPECT_FALSE(desktop.IsVisible(frame->handle));
    EXPECT_TRUE(owner->keys.empty());
    EXPECT_TRUE(app->IsAlive(chooser));
}

TEST_F(FileChooserTest, ListsAreReadOnlyAndClicksBelowTheirLastLinePickNothing)
{
    CFileChooser* chooser = Open();
    CTextEdit* directories = chooser->GetDirectoryList();
    CTextEdit* files = chooser->GetFileList();
    std::vector<std::string> directoryLines = Lines(directories), fileLines = Lines(files);

    // Typing, deleting, Enter and Escape in a list change no line.
    ClickLine(files, 0);
    std::string picked = Name(chooser);
    Type("zz");
    Key(VK_BACK);
    Key(VK_DELETE);
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Lines(files), fileLines);
    EXPECT_EQ(Name(chooser), picked);
    ClickLine(directories, 0);  // "." or another line; the same folder for "."
    std::string folder = CurrentDirectory();
    directoryLines = Lines(directories);
    Type("zz");
    Key(VK_BACK);
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Lines(directories), directoryLines);
    EXPECT_EQ(CurrentDirectory(), folder);

    // Clicks below the last lines, with the root line current: no folder change, no
    // name change.
    ASSERT_TRUE(ChangeDirectory(base));
    chooser = Open();
    directories = chooser->GetDirectoryList();
    files = chooser->GetFileList();
    SelectLast(directories);
    ASSERT_EQ(Text(directories->LineAt(directories->GetCurrentRow())), Roots().back());
    std::string name = Name(chooser);
    int below = (int(directories->GetLineCount()) + 1) * directories->rowHeight;
    ASSERT_LT(below, directories->height);
    ClickAt(directories, 20, below);
    EXPECT_EQ(CurrentDirectory(), base);
    EXPECT_EQ(Name(chooser), name);
    ClickAt(files, 20, below);
    EXPECT_EQ(Name(chooser), name);
    EXPECT_EQ(Lines(files).size(), 2u);
    EXPECT_TRUE(owner->keys.empty());
}

TEST_F(FileChooserTest, AccentedNamesShowInTheCodePageAndRoundTrip)
{
    const std::string medicion = "medici\xc3\xb3n.dat", senal = "se\xc3\xb1" "al";  // UTF-8 on disk
    Touch(base + Sep + medicion);
    fs::create_directories(FsPath(base + Sep + senal));
    // Names the code page cannot hold: Greek letters, shown alike.
    Touch(base + Sep + "\xce\xb1.dat");
    Touch(base + Sep + "\xce\xb2.dat");
    fs::create_directories(FsPath(base + Sep + "\xce\xa9"));

    CFileChooser* chooser = Open();
    CTextEdit* directories = chooser->GetDirectoryList();
    CTextEdit* files = chooser->GetFileList();
    const std::string stand(1, char(StandInByte));
    std::vector<std::string> fileLines = Lines(files);
    std::sort(fileLines.begin(), fileLines.end());
    EXPECT_EQ(fileLines, (std::vector<std::string>{"a.dat", "b.dat", "medici\xf3n.dat", stand + ".dat",
                                                   stand + ".dat"}));

    // A picked accented file comes back as the file it is.
    ClickLine(files, uint32_t(RowOf(files, "medici\xf3n.dat")));
    EXPECT_EQ(Name(chooser), base + Sep + "medici\xf3n.dat");
    ClickAt(chooser->okButton.As<CWindow>(), 80, 11);
    std::string onDisk;
    ASSERT_TRUE(FileNameFromText(owner->chosen, onDisk));
    EXPECT_EQ(onDisk, base + Sep + medicion);
    EXPECT_TRUE(fs::exists(FsPath(onDisk)));

    // A typed accented folder is entered by its UTF-8 name.
    chooser = Open();
    Key(VK_ESCAPE);
    Type("se\xf1" "al");
    Key(VK_RETURN);
    EXPECT_EQ(CurrentDirectory(), base + Sep + senal);
    EXPECT_EQ(Name(chooser), base + Sep + "se\xf1" "al");
    Key(VK_ESCAPE);
    Type("..");
    Key(VK_RETURN);
    // Tab completes it as well.
    directories = chooser->GetDirectoryList();
    Key(VK_ESCAPE);
    Type("se\xf1");
    Key(VK_TAB);
    Key(VK_TAB);
    EXPECT_EQ(CurrentDirectory(), base + Sep + senal);
    Key(VK_ESCAPE);
    Type("..");
    Key(VK_RETURN);

    // A folder shown with the stand-in cannot be entered: nothing changes.
    std::string before = Name(chooser);
    ClickLine(directories, uint32_t(RowOf(directories, stand)));
    EXPECT_EQ(CurrentDirectory(), base);
    EXPECT_EQ(Name(chooser), before);
    Key(VK_ESCAPE);  // the focus went to the list with the click
    ClickAt(chooser->GetNameField(), 100, 10);
    Key(VK_ESCAPE);
    Type(stand);
    Key(VK_RETURN);
    EXPECT_EQ(CurrentDirectory(), base);
    EXPECT_EQ(owner->chosen, stand) << "no folder: confirmed, for the owner to refuse";
    chooser->Show();
    Pump();

    // A file shown with the stand-in is offered as such; it names no file, so neither
    // of the two it may stand for is reached.
    files = chooser->GetFileList();
    ClickLine(files, uint32_t(RowOf(files, stand + ".dat")));
    EXPECT_EQ(Name(chooser), base + Sep + stand + ".dat");
    ClickAt(chooser->okButton.As<CWindow>(), 80, 11);
    EXPECT_EQ(owner->chosen, base + Sep + stand + ".dat");
    EXPECT_FALSE(FileNameFromText(owner->chosen, onDisk));
}

TEST_F(FileChooserTest, AnOwnerThatHasGoneHearsNothingAndNothingBreaks)
{
    // The chooser does not keep its owner alive: the owner goes with its last holder.
    Variable gone(new COwner(app));
    auto* first = gone.As<COwner>();
    first->Create(600, 500, 100, 80, nullptr, NoTitle, 200, 200, 200);
    int count = first->GetReferenceCount();
    Variable lonely(new CFileChooser(app));
    auto* chooser = lonely.As<CFileChooser>();
    chooser->OpenChooser("Exportar HTML ...", first);
    EXPECT_EQ(first->GetReferenceCount(), count);
    chooser->Show();
    Pump();
    gone.Clear();
    EXPECT_FALSE(app->IsAlive(first));
    ClickAt(chooser->okButton.As<CWindow>(), 80, 11);
    EXPECT_FALSE(desktop.IsVisible(chooser->handle));
    EXPECT_TRUE(app->IsAlive(chooser));

    // A chooser deleted gives its owner's count back as it was.
    count = owner->GetReferenceCount();
    Variable passing(new CFileChooser(app));
    passing.As<CFileChooser>()->OpenChooser("Cargar Datos ...", owner);
    passing.Clear();
    EXPECT_EQ(owner->GetReferenceCount(), count);

    // An owner that lets its chooser go on hearing the answer: the chooser goes once
    // the click is through. Each answer is heard once.
    owner->dropOnResult = true;
    CFileChooser* dropped = Open();
    ClickAt(dropped->cancelButton.As<CWindow>(), 80, 11);
    EXPECT_EQ(owner->keys, std::vector<int32_t>{0});
    EXPECT_EQ(owner->sources, std::vector<CObject*>{dropped});
    EXPECT_FALSE(app->IsAlive(dropped));
    EXPECT_EQ(owner->GetReferenceCount(), count);

    // An owner that replaced its chooser hears the old one, kept by someone else, as
    // that one: it can tell the answers apart.
    owner->dropOnResult = false;
    owner->keys.clear();
    owner->sources.clear();
    CFileChooser* older = Open();
    Variable keptElsewhere(older);
    CFileChooser* newer = Open();
    ClickAt(newer->cancelButton.As<CWindow>(), 80, 11);  // the newer lies on top
    ClickAt(older->okButton.As<CWindow>(), 80, 11);
    EXPECT_EQ(owner->keys, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(owner->sources, (std::vector<CObject*>{newer, older}));
}

TEST_F(FileChooserTest, AChooserOpensWhereTheLastLeftOffAndShowsTheFolderAgainWhenShownAgain)
{
    CFileChooser* first = Open();
    ClickLine(first->GetDirectoryList(), uint32_t(RowOf(first->GetDirectoryList(), "sub1")));
    ClickAt(first->cancelButton.As<CWindow>(), 80, 11);
    Variable keep(first);
    CFileChooser* second = Open();
    EXPECT_EQ(Name(second), base + Sep + "sub1");
    Key(VK_ESCAPE);
    Type(base);
    Key(VK_RETURN);
    ClickAt(second->okButton.As<CWindow>(), 80, 11);

    // Shown again, the first one lists the folder the second left.
    Touch(base + Sep + "c.dat");
    first->Show();
    Pump();
    EXPECT_EQ(Name(first), base);
    std::vector<std::string> files = Lines(first->GetFileList());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.dat", "b.dat", "c.dat"}));
    EXPECT_EQ(app->activeWindow, first->GetNameField());
}

TEST_F(FileChooserTest, TheDialogShowsItsPicturesAndIsSavedAsAPicture)
{
    CFileChooser* chooser = Open("Guardar Datos Como ...");
    Type(Sep + "datos.dat");
    fs::create_directory(FsPath(Join(started, "widget-pictures")));
    SavePicture(chooser, Join(Join(started, "widget-pictures"), "chooser-open.png"));

    // Beside the plain background of a decorated window, the folder picture and the
    // fading trail of the page picture lie in their places at the top, and only there.
    Variable plainHolder(new CBasicWindow(app));
    auto* plain = plainHolder.As<CBasicWindow>();
    plain->Create(0, 0, 390, 364, nullptr, NoTitle, 252, 242, 202);
    plain->Draw();
    auto inFolder = [](int x, int y) { return x >= 46 && x < 46 + 48 && y >= 8 && y < 8 + 32; };
    auto inTrail = [](int x, int y) { return x >= 243 && x < 290 + 32 && y >= 5 && y < 8 + 30; };
    int folder = 0, trail = 0, elsewhere = 0;
    for (int y = 0; y < chooser->height; y++) {
        for (int x = 0; x < chooser->width; x++) {
            if (chooser->GetCanvas()->GetSurface()->GetPixel(x, y) == plain->GetCanvas()->GetSurface()->GetPixel(x, y))
                continue;
            (inFolder(x, y) ? folder : inTrail(x, y) ? trail : elsewhere)++;
        }
    }
    EXPECT_GT(folder, 48 * 32 / 4);
    EXPECT_GT(trail, 32 * 30 / 2);
    EXPECT_EQ(elsewhere, 0);
    // The screen shows the canvas.
    EXPECT_EQ(Shown(chooser, 70, 24), chooser->GetCanvas()->GetSurface()->GetPixel(70, 24));
}
