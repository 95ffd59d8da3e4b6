#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/CString.h"
#include "platform/PCodePage.h"
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
using folder_paths::ChangeFolder;
using folder_paths::CurrentFolder;
using folder_paths::FsPath;
using folder_paths::Join;
using folder_paths::RootOf;
using folder_paths::Roots;

namespace {
// The separator the chooser joins with, as typed text.
const std::string Sep(1, folder_paths::Separator);

// Directory lines followed by the roots, as the directory list ends.
std::vector<std::string> WithRoots(std::vector<std::string> lines)
{
    for (const std::string& root : Roots())
        lines.push_back(root);
    return lines;
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
                chosen = TextOf(Variable(dialog->GetChosenName()).As<CString>());
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
        started = CurrentFolder();
        tree = folder_paths::MakeNativeTempFolder("chooser");
        ASSERT_FALSE(tree.empty());
        base = Join(tree, "base");
        fs::create_directories(FsPath(Join(Join(base, "sub1"), "deep")));
        fs::create_directories(FsPath(Join(base, "sub2")));
        fs::create_directories(FsPath(Join(tree, "empty")));
        // What a killed save leaves beside its target is never offered as a file.
        for (const char* name : {"a.dat", "b.dat", ".b.dat.4321-17.tmp"})
            Touch(Join(base, name));
        ASSERT_TRUE(ChangeFolder(base));
        owner = new COwner(app);
        held.emplace_back(owner);
        owner->Create(600, 500, 100, 80, nullptr, NoTitle, 200, 200, 200);
    }

    void TearDown() override
    {
        EXPECT_TRUE(ChangeFolder(started));
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

    void ClickAt(CWindow* window, int x, int y, int times = 1)
    {
        PPoint p = At(window, x, y);
        for (int i = 0; i < times; i++)
            desktop.Click(p.x, p.y);
        Pump();
    }

    void Press(Variable& button) { ClickAt(button.As<CWindow>(), 80, 11); }

    void ClickLine(CTextEdit* list, uint32_t row)
    {
        ClickAt(list, 20, int(row - list->firstRow) * list->rowHeight + list->rowHeight / 2);
    }

    void Pick(CTextEdit* list, const std::string& line) { ClickLine(list, uint32_t(RowOf(list, line))); }

    // Escape, then text typed into the name field.
    void Retype(const std::string& text) { Type("\x1b" + text); }

    static int RowOf(CTextEdit* list, const std::string& line)
    {
        std::vector<std::string> lines = LinesOf(list);
        auto at = std::find(lines.begin(), lines.end(), line);
        EXPECT_NE(at, lines.end()) << "no line " << line;
        return at == lines.end() ? 0 : int(at - lines.begin());
    }

    static std::string CurrentLine(CTextEdit* list) { return TextOf(list->LineAt(list->GetCurrentRow())); }

    // Makes the last directory line current with Down keys in the name field.
    void SelectLast(CTextEdit* directories)
    {
        for (int guard = 0; guard < 100 && directories->GetCurrentRow() + 1 < directories->GetLineCount(); guard++)
            Key(VK_DOWN);
    }

    static std::string Name(CFileChooser* chooser) { return TextOf(chooser->GetNameField()->GetText()); }

    std::string started;
    std::string tree;
    std::string base;  // the tree's "base" folder, where each test starts
    COwner* owner = nullptr;
};

TEST_F(FileChooserTest, OpensTitledAtItsPlaceWithSortedListsAndTheNameFieldActive)
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
        SCOPED_TRACE(place.child->GetClassName());
        EXPECT_EQ(place.child->GetParent(), chooser);
        EXPECT_EQ(place.child->x, place.x);
        EXPECT_EQ(place.child->y, place.y);
        EXPECT_EQ(place.child->width, place.w);
        EXPECT_EQ(place.child->height, place.h);
        EXPECT_TRUE(desktop.IsVisible(place.child->handle));
    }
    EXPECT_EQ(TextOf(chooser->okButton.As<CButton>()->caption.As<CString>()), "O.k");
    EXPECT_EQ(TextOf(chooser->cancelButton.As<CButton>()->caption.As<CString>()), "Cancelar");

    // The lists: directories with the roots after them, the files on the right.
    EXPECT_EQ(LinesOf(chooser->GetDirectoryList()), WithRoots({".", "..", "sub1", "sub2"}));
    EXPECT_EQ(LinesOf(chooser->GetFileList()), (std::vector<std::string>{"a.dat", "b.dat"}));

    // The name field holds the path and the keyboard: typing goes on after the path.
    EXPECT_EQ(Name(chooser), base);
    EXPECT_EQ(app->activeWindow, chooser->GetNameField());
    Type(Sep + "nuevo.dat");
    EXPECT_EQ(Name(chooser), base + Sep + "nuevo.dat");

    // Beside the plain background of a decorated window, the folder picture and the
    // fading trail of the page picture lie in their places at the top, and only there.
    ASSERT_TRUE(ChangeFolder(started));
    SavePicture(frame, "chooser-open");
    ASSERT_TRUE(ChangeFolder(base));
    Variable plainHolder(new CBasicWindow(app));
    auto* plain = plainHolder.As<CBasicWindow>();
    plain->Create(0, 0, 390, 364, nullptr, NoTitle, 252, 242, 202);
    plain->Draw();
    auto inFolder = [](int x, int y) { return x >= 46 && x < 46 + 48 && y >= 8 && y < 8 + 32; };
    auto inTrail = [](int x, int y) { return x >= 243 && x < 290 + 32 && y >= 5 && y < 8 + 30; };
    int folder = 0, trail = 0, elsewhere = 0;
    for (int y = 0; y < chooser->height; y++)
        for (int x = 0; x < chooser->width; x++)
            if (chooser->GetCanvas()->GetSurface()->GetPixel(x, y) != plain->GetCanvas()->GetSurface()->GetPixel(x, y))
                (inFolder(x, y) ? folder : inTrail(x, y) ? trail : elsewhere)++;
    EXPECT_GT(folder, 48 * 32 / 4);
    EXPECT_GT(trail, 32 * 30 / 2);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(Shown(chooser, 70, 24), chooser->GetCanvas()->GetSurface()->GetPixel(70, 24));

    Press(chooser->okButton);
    EXPECT_EQ(owner->keys, std::vector<int32_t>{1});
    EXPECT_EQ(owner->chosen, base + Sep + "nuevo.dat");

    // Opened again over more names: folders first and then files, each by name whatever
    // the case; the wheel over a list scrolls it.
    for (const char* folder : {"Beta", "alpha", "_z", "10"})
        fs::create_directories(FsPath(Join(base, folder)));
    // Built piece by piece: MinGW's GCC 12 sees a false overlap in "F" + string.
    std::vector<std::string> files = {"a.dat", "b.dat"};
    for (int i = 0; i < 30; i++) {
        files.emplace_back(i % 2 ? "F" : "f");
        files.back() += std::to_string(100 + i);
        files.back() += ".dat";
        Touch(Join(base, files.back()));
    }
    Touch(Join(base, "Zeta.txt"));
    Touch(Join(base, "\xc3\x81rbol.dat"));  // UTF-8 on disk
    files.push_back("Zeta.txt");
    files.push_back("\xc1rbol.dat");  // in the code page: its letters, capitals folded, follow z
    chooser = Open();
    EXPECT_EQ(LinesOf(chooser->GetDirectoryList()),
              WithRoots({".", "..", "10", "_z", "alpha", "Beta", "sub1", "sub2"}));
    EXPECT_EQ(LinesOf(chooser->GetFileList()), files);

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
    // In a folder: the path, the separator and the name; Up and Down in the file list
    // pick as a click does.
    CFileChooser* chooser = Open();
    CTextEdit* files = chooser->GetFileList();
    Pick(files, "b.dat");
    EXPECT_EQ(Name(chooser), base + Sep + "b.dat");
    for (uint32_t key : {VK_UP, VK_DOWN}) {
        Key(key);
        EXPECT_EQ(Name(chooser), base + Sep + CurrentLine(files));
    }

    // In the root, whose path already ends in the separator ("/", "C:\"). Its files
    // are not the test's, so the list is given one.
    const std::string root = RootOf(tree);
    ASSERT_TRUE(ChangeFolder(root));
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
    Pick(directories, "sub1");
    EXPECT_EQ(CurrentFolder(), base + Sep + "sub1");
    EXPECT_EQ(Name(chooser), base + Sep + "sub1");
    // The lists are refilled, the first line current and the thumb at the top.
    std::vector<std::string> lines = LinesOf(directories);
    std::sort(lines.begin(), lines.begin() + std::min<ptrdiff_t>(3, ptrdiff_t(lines.size())));
    EXPECT_EQ(lines, WithRoots({".", "..", "deep"}));
    EXPECT_EQ(directories->GetCurrentRow(), 0u);
    EXPECT_EQ(LinesOf(chooser->GetFileList()), std::vector<std::string>{""});
    EXPECT_EQ(chooser->directoryScroller.As<CScroller>()->GetCurrentRow(), 0u);

    // ".." goes up; the root line leads to the root ("/", "C:\"), where ".." goes nowhere.
    const std::string root = RootOf(tree);
    using Step = std::pair<std::string, std::string>;  // a line clicked, the folder it leads to
    for (const auto& [line, folder] : {Step{"..", base}, Step{"..", tree}, Step{root, root}}) {
        Pick(directories, line);
        EXPECT_EQ(CurrentFolder(), folder);
        EXPECT_EQ(Name(chooser), folder);
    }
#ifdef _WIN32
    // A drive root lists no "..": typed, it goes nowhere either.
    lines = LinesOf(directories);
    EXPECT_EQ(std::find(lines.begin(), lines.end(), ".."), lines.end());
    ClickAt(chooser->GetNameField(), 100, 10);
    Retype("..\r");
    EXPECT_EQ(CurrentFolder(), root);
#else
    Pick(directories, "..");
#endif
    EXPECT_EQ(Name(chooser), root);
    EXPECT_EQ(owner->keys.size(), 0u);

    // The next chooser opens where the last left off; shown again, the first one lists
    // the folder the second left.
    Press(chooser->cancelButton);
    Variable keep(chooser);
    CFileChooser* second = Open();
    EXPECT_EQ(Name(second), root);
    Retype(base + "\r");
    Press(second->okButton);
    Touch(base + Sep + "c.dat");
    chooser->Show();
    Pump();
    EXPECT_EQ(Name(chooser), base);
    std::vector<std::string> files = LinesOf(chooser->GetFileList());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.dat", "b.dat", "c.dat"}));
    EXPECT_EQ(app->activeWindow, chooser->GetNameField());
}

// The name field's keys, in order from the base folder. Enter enters a folder and
// confirms any other name as "O.k" does (the dialog is shown again for the next row);
// on an empty field it does nothing. Tab enters a folder named whole; for a near name
// the first Tab selects the closest line, the earlier of two equally close, and the
// second enters it and leaves the field empty. Up and Down move the directory selection.
TEST_F(FileChooserTest, EnterTabAndArrowsInTheNameField)
{
    CFileChooser* chooser = Open();
    CTextEdit* directories = chooser->GetDirectoryList();
    const std::string sub1 = base + Sep + "sub1", sub2 = base + Sep + "sub2", empty = Join(tree, "empty");
    const std::vector<std::string> inBase = {"a.dat", "b.dat"}, none = {""};
    const struct {
        std::string typed;
        std::string folder, name;  // name "?": not looked at
        std::vector<std::string> files;
        std::string chosen;  // confirmed with this name when not empty
        std::string selected;  // the current directory line when not empty
        bool fromLast;  // the root line, the last, made current first
    } rows[] = {
        {"\x1b\r", base, "", inBase, "", "", false},
        {"\x1b" "a.dat\r", base, "?", inBase, "a.dat", "", false},
        {"\x1bnuevo.dat\r", base, "?", inBase, "nuevo.dat", "", false},
        {"\x1bsub2\r", sub2, sub2, none, "", "", false},
        {"\x1b" + empty + "\r", empty, empty, none, "", "", false},  // a whole path
        {"\x1b" + base + "\r", base, base, inBase, "", "", false},
        {"\x1bsub2\t", sub2, sub2, none, "", "", false},
        {"\x1b..\t", base, "?", inBase, "", "", false},
        {"\x1bsub3\t", base, "sub3", inBase, "", "sub2", true},
        {"\t", sub2, "", none, "", "", false},
        {"\x1b..\r", base, base, inBase, "", "", false},
        {"\x1bsu\t", base, "su", inBase, "", "sub1", true},
        {"\t", sub1, "", none, "", "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        if (row.fromLast)
            SelectLast(directories);
        Type(row.typed);
        EXPECT_EQ(CurrentFolder(), row.folder);
        EXPECT_EQ(LinesOf(chooser->GetFileList()), row.files);
        if (!row.selected.empty()) {
            EXPECT_EQ(CurrentLine(directories), row.selected);
        }
        if (row.name != "?") {
            EXPECT_EQ(Name(chooser), row.name);
        }
        if (row.chosen.empty()) {
            EXPECT_TRUE(chooser->visible);
            EXPECT_TRUE(owner->keys.empty());
            EXPECT_EQ(app->activeWindow, chooser->GetNameField());
            continue;
        }
        EXPECT_FALSE(chooser->visible);
        EXPECT_EQ(owner->keys, std::vector<int32_t>{1});
        EXPECT_EQ(owner->chosen, row.chosen);
        owner->keys.clear();
        chooser->Show();
        Pump();
    }

    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(directories->GetCurrentRow(), 0u);
    for (int i = 0; i < 10; i++)
        Key(VK_DOWN);
    EXPECT_EQ(directories->GetCurrentRow(), directories->GetLineCount() - 1);
    Key(VK_UP);
    EXPECT_EQ(directories->GetCurrentRow(), directories->GetLineCount() - 2);
    EXPECT_EQ(chooser->directoryScroller.As<CScroller>()->GetCurrentRow(), directories->GetLineCount() - 2);
    EXPECT_EQ(app->activeWindow, chooser->GetNameField());
    EXPECT_EQ(CurrentFolder(), sub1);
}

TEST_F(FileChooserTest, ListsAreReadOnlyAndClicksBelowTheirLastLinePickNothing)
{
    // Typing, deleting, Enter and Escape in a list change no line.
    CFileChooser* chooser = Open();
    CTextEdit* directories = chooser->GetDirectoryList();
    CTextEdit* files = chooser->GetFileList();
    std::vector<std::string> fileLines = LinesOf(files);
    ClickLine(files, 0);
    std::string picked = Name(chooser);
    Type("zz\b");
    Key(VK_DELETE);
    Type("\r\x1b");
    EXPECT_EQ(LinesOf(files), fileLines);
    EXPECT_EQ(Name(chooser), picked);
    ClickLine(directories, 0);  // "." or another line; the same folder for "."
    std::string folder = CurrentFolder();
    std::vector<std::string> directoryLines = LinesOf(directories);
    Type("zz\b\r\x1b");
    EXPECT_EQ(LinesOf(directories), directoryLines);
    EXPECT_EQ(CurrentFolder(), folder);

    // Clicks below the last lines, with the root line current: no folder change, no
    // name change.
    ASSERT_TRUE(ChangeFolder(base));
    chooser = Open();
    directories = chooser->GetDirectoryList();
    files = chooser->GetFileList();
    SelectLast(directories);
    ASSERT_EQ(CurrentLine(directories), Roots().back());
    std::string name = Name(chooser);
    int below = (int(directories->GetLineCount()) + 1) * directories->rowHeight;
    ASSERT_LT(below, directories->height);
    ClickAt(directories, 20, below);
    EXPECT_EQ(CurrentFolder(), base);
    EXPECT_EQ(Name(chooser), name);
    ClickAt(files, 20, below);
    EXPECT_EQ(Name(chooser), name);
    EXPECT_EQ(LinesOf(files).size(), 2u);
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
    std::vector<std::string> fileLines = LinesOf(files);
    std::sort(fileLines.begin(), fileLines.end());
    EXPECT_EQ(fileLines, (std::vector<std::string>{"a.dat", "b.dat", "medici\xf3n.dat", stand + ".dat",
                                                   stand + ".dat"}));

    // A picked accented file comes back as the file it is.
    Pick(files, "medici\xf3n.dat");
    EXPECT_EQ(Name(chooser), base + Sep + "medici\xf3n.dat");
    Press(chooser->okButton);
    std::string onDisk;
    ASSERT_TRUE(FileNameFromText(owner->chosen, onDisk));
    EXPECT_EQ(onDisk, base + Sep + medicion);
    EXPECT_TRUE(fs::exists(FsPath(onDisk)));

    // A typed accented folder is entered by its UTF-8 name, with Enter or with Tab.
    chooser = Open();
    Retype("se\xf1" "al\r");
    EXPECT_EQ(CurrentFolder(), base + Sep + senal);
    EXPECT_EQ(Name(chooser), base + Sep + "se\xf1" "al");
    Retype("..\r");
    directories = chooser->GetDirectoryList();
    Retype("se\xf1\t\t");
    EXPECT_EQ(CurrentFolder(), base + Sep + senal);
    Retype("..\r");

    // A folder shown with the stand-in cannot be entered: nothing changes.
    std::string before = Name(chooser);
    Pick(directories, stand);
    EXPECT_EQ(CurrentFolder(), base);
    EXPECT_EQ(Name(chooser), before);
    Key(VK_ESCAPE);  // the focus went to the list with the click
    ClickAt(chooser->GetNameField(), 100, 10);
    Retype(stand + "\r");
    EXPECT_EQ(CurrentFolder(), base);
    EXPECT_EQ(owner->chosen, stand) << "no folder: confirmed, for the owner to refuse";
    chooser->Show();
    Pump();

    // A file shown with the stand-in is offered as such; it names no file, so neither
    // of the two it may stand for is reached.
    files = chooser->GetFileList();
    Pick(files, stand + ".dat");
    EXPECT_EQ(Name(chooser), base + Sep + stand + ".dat");
    Press(chooser->okButton);
    EXPECT_EQ(owner->chosen, base + Sep + stand + ".dat");
    EXPECT_FALSE(FileNameFromText(owner->chosen, onDisk));
}

// Each answer is heard once, by the owner that is still there; the close button of the
// title bar answers nothing.
TEST_F(FileChooserTest, EachButtonAnswersOnceAndAnOwnerThatHasGoneHearsNothing)
{
    // Escape empties the field; "O.k" then reports an empty name.
    CFileChooser* chooser = Open();
    Key(VK_ESCAPE);
    EXPECT_EQ(Name(chooser), "");
    EXPECT_EQ(chooser->GetNameField()->caret, 0u);
    Press(chooser->okButton);
    EXPECT_EQ(owner->keys, std::vector<int32_t>{1});
    EXPECT_EQ(owner->sources, std::vector<CObject*>{chooser});
    EXPECT_EQ(owner->chosen, "");
    EXPECT_FALSE(desktop.IsVisible(chooser->handle));
    EXPECT_FALSE(desktop.IsVisible(chooser->decoration.As<CWindow>()->handle));

    // "Cancelar" answers 0, once, however quickly it is clicked twice.
    owner->keys.clear();
    chooser = Open();
    ClickAt(chooser->cancelButton.As<CWindow>(), 80, 11, 2);
    EXPECT_EQ(owner->keys, std::vector<int32_t>{0});
    EXPECT_FALSE(desktop.IsVisible(chooser->handle));
    chooser->Show();
    Pump();
    Press(chooser->cancelButton);
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

    // The chooser does not keep its owner alive: the owner goes with its last holder.
    Variable gone(new COwner(app));
    auto* first = gone.As<COwner>();
    first->Create(600, 500, 100, 80, nullptr, NoTitle, 200, 200, 200);
    int count = first->GetReferenceCount();
    Variable lonely(new CFileChooser(app));
    chooser = lonely.As<CFileChooser>();
    chooser->OpenChooser("Exportar HTML ...", first);
    EXPECT_EQ(first->GetReferenceCount(), count);
    chooser->Show();
    Pump();
    gone.Clear();
    EXPECT_FALSE(app->IsAlive(first));
    Press(chooser->okButton);
    EXPECT_FALSE(desktop.IsVisible(chooser->handle));
    EXPECT_TRUE(app->IsAlive(chooser));

    // A chooser deleted gives its owner's count back as it was.
    count = owner->GetReferenceCount();
    Variable passing(new CFileChooser(app));
    passing.As<CFileChooser>()->OpenChooser("Cargar Datos ...", owner);
    passing.Clear();
    EXPECT_EQ(owner->GetReferenceCount(), count);

    // An owner that lets its chooser go on hearing the answer: the chooser goes once
    // the click is through.
    owner->keys.clear();
    owner->sources.clear();
    owner->dropOnResult = true;
    CFileChooser* dropped = Open();
    Press(dropped->cancelButton);
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
    Press(newer->cancelButton);  // the newer lies on top
    Press(older->okButton);
    EXPECT_EQ(owner->keys, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(owner->sources, (std::vector<CObject*>{newer, older}));
}
