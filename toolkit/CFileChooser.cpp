#include "toolkit/CFileChooser.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/CList.h"
#include "core/CString.h"
#include "graphics/CBCell.h"
#include "graphics/CCanvas.h"
#include "io/CFileNavigator.h"
#include "io/CMemIO.h"
#include "io/CReplacingFile.h"
#include "platform/PCodePage.h"
#include "toolkit/CButton.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CScroller.h"
#include "toolkit/CTextEdit.h"
#include "graphics/BuiltinPictures.h"

using namespace platform;

namespace {
struct Place {
    int x, y, w, h;
};

constexpr Place Dialog{128, 64, 390, 364};
constexpr uint32_t DialogColour[] = {252, 242, 202};
constexpr uint32_t ChildColour[] = {255, 236, 192};
constexpr Place DirectoryScroller{17, 52, 16, 248};
constexpr Place DirectoryList{32, 48, 148, 256};
constexpr Place FileScroller{209, 52, 16, 248};
constexpr Place FileList{224, 48, 148, 256};
constexpr Place NameField{16, 306, 356, 20};
constexpr Place CancelButton{17, 330, 165, 22};
constexpr Place OkButton{209, 330, 165, 22};

// The fading trail of the page picture: place and opacity, faintest first.
constexpr struct {
    int x, y;
    float opacity;
} Trail[] = {{290, 5, 0.2f}, {268, 7, 0.4f}, {253, 8, 0.7f}};

constexpr int NoLine = 6000;  // the start value of the closest distance

std::string Bytes(CString* text)
{
    return text && text->GetLength() ? std::string(text->GetBuffer(), text->GetLength()) : std::string();
}

// A name's sorting key: Windows-1252 text with its capitals made small.
std::string Folded(const std::string& name)
{
    std::string key = name;
    for (char& c : key) {
        auto b = uint8_t(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            b += 0x20;
        else if (b == 0x8A || b == 0x8C || b == 0x8E)
            b += 0x10;  // Š Œ Ž
        else if (b == 0x9F)
            b = 0xFF;  // Ÿ
        c = char(b);
    }
    return key;
}

// "." and ".." first, then the names by their folded text (ties by the text itself);
// the roots after the directories keep their place at the end. A root is the one
// kind of entry that holds a separator.
void SortNames(std::vector<std::string>& names)
{
    auto rank = [](const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; };
    auto firstRoot = std::stable_partition(names.begin(), names.end(), [](const std::string& name) {
        return name.find(CFileNavigator::Separator) == std::string::npos;
    });
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(size_t(firstRoot - names.begin()));
    for (auto it = names.begin(); it != firstRoot; ++it)
        keyed.emplace_back(Folded(*it), std::move(*it));
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        int ra = rank(a.second), rb = rank(b.second);
        return ra != rb ? ra < rb : a < b;
    });
    for (size_t i = 0; i < keyed.size(); i++)
        names[i] = std::move(keyed[i].second);
}

template <class T>
T* NewChild(CGApplication* app, Variable& field, const Place& at, CWindow* parent)
{
    auto* child = new T(app);
    field = child;
    child->Create(at.x, at.y, at.w, at.h, parent, NoTitle, ChildColour[0], ChildColour[1], ChildColour[2]);
    return child;
}

void LoadPicture(CApplication* app, CBCell* cell, const unsigned char* bytes, unsigned int size)
{
    Variable stream(new CMemIO(app));
    stream.As<CMemIO>()->OpenBlock(const_cast<unsigned char*>(bytes), size);
    cell->LoadCelChannels(stream.As<CMemIO>());
}
}  // namespace

CFileChooser::CFileChooser(CGApplication* app) : CBasicWindow(app) { className = "CFileChooser"; }

CFileChooser::~CFileChooser()
{
    LeaveRegistry();
    DropOwner();
}

void CFileChooser::HandleEvent(CEvent event)
{
    if (!alive) {
        CBasicWindow::HandleEvent(event);
        return;
    }
    // The owner may drop its chooser while it hears the answer: the chooser then goes
    // when this event is through, not in the middle of it.
    Variable self;
    if (references > 0)
        self = this;
    if (event.source == application)
        OwnEvent(event);
    else
        ChildEvent(event);
    CBasicWindow::HandleEvent(event);
}

void CFileChooser::Draw()
{
    if (!GetCanvas())
        return;
    CBasicWindow::Draw();
    DrawPictures();
    Update();
}

void CFileChooser::OpenChooser(const char* title, CWindow* window)
{
    HoldOwner(window);
    Create(Dialog.x, Dialog.y, Dialog.w, Dialog.h, nullptr, title, DialogColour[0], DialogColour[1],
           DialogColour[2]);
}

CString* CFileChooser::GetChosenName()
{
    auto* name = new CString(application);
    Variable hold(name);
    CEditBox* field = GetNameField();
    std::string text = Bytes(field ? field->GetText() : nullptr);
    name->SetText(text.data(), uint32_t(text.size()));
    name->Protect();
    return name;
}

CTextEdit* CFileChooser::GetDirectoryList() const { return directoryList.CheckedAs<CTextEdit>(); }

CTextEdit* CFileChooser::GetFileList() const { return fileList.CheckedAs<CTextEdit>(); }

CEditBox* CFileChooser::GetNameField() const { return nameField.CheckedAs<CEditBox>(); }

void CFileChooser::OwnEvent(CEvent event)
{
    switch (event.type) {
    case EV_CREATE:
        Build();
        break;
    case EV_SHOW:
        // Another chooser may have moved the current directory since this one was
        // filled: a stale list would name files of another folder.
        answered = 0;
        Refill();
        ShowCurrentPath();
        ShowChildren();
        // A typed name belongs in the name field, and Enter acts on it.
        if (CEditBox* field = GetNameField())
            field->Activate();
        break;
    case EV_DESTROY:
        DropOwner();
        break;
    default:
        break;
    }
}

void CFileChooser::ChildEvent(CEvent event)
{
    CObject* from = event.source;
    if (event.type == EV_NOTICE) {
        // The owner shows the messages: the chooser has no place for them.
        event.source = this;
        if (auto* receiver = dynamic_cast<CWComponent*>(owner.GetChecked()))
            GetApplication()->SendEvent(receiver, event);
    } else if (from == directoryList.Get() && event.type == EV_CLICK) {
        if (ClickedLine(GetDirectoryList()))
            EnterCurrentDirectory(0);
    } else if (from == fileList.Get()) {
        bool arrow = event.type == EV_KEYDOWN && (event.value == int32_t(VK_DOWN) || event.value == int32_t(VK_UP));
        if (arrow || (event.type == EV_CLICK && ClickedLine(GetFileList())))
            PickCurrentFile();
    } else if (from == okButton.Get() && event.type == EV_CLICK) {
        Answer(1);
    } else if (from == cancelButton.Get() && event.type == EV_CLICK) {
        Answer(0);
    } else if (from == nameField.Get() && event.type == EV_KEYDOWN) {
        NameFieldKey(event.value);
    }
}

void CFileChooser::NameFieldKey(int32_t key)
{
    switch (uint32_t(key)) {
    case VK_RETURN:
        EnterOrConfirm();
        break;
    case VK_TAB:
        CompleteDirectory();
        break;
    case VK_ESCAPE:
        SetName("", 0);
        break;
    case VK_DOWN:
        MoveDirectorySelection(1);
        break;
    case VK_UP:
        MoveDirectorySelection(-1);
        break;
    default:
        break;
    }
}

// Enter on a folder's name enters the folder; on any other name it confirms the
// dialog as "O.k" does, so a typed file name is never thrown away. An empty field
// does nothing.
void CFileChooser::EnterOrConfirm()
{
    CEditBox* field = GetNameField();
    std::string typed = Bytes(field ? field->GetText() : nullptr);
    if (typed.empty())
        return;
    std::string name;
    bool folder = FileNameFromText(typed, name) && name.find('\0') == std::string::npos &&
                  CFileNavigator::EntryAt(name.c_str()) == CFileNavigator::FolderEntry;
    if (!folder) {
        Answer(1);
        return;
    }
    ChangeTo(typed.data(), uint32_t(typed.size()));
    Refill();
    ShowCurrentPath();
}

void CFileChooser::Build()
{
    CGApplication* app = GetApplication();
    navigator = new CFileNavigator(app);
    auto* directories = NewChild<CTextEdit>(app, directoryList, DirectoryList, this);
    auto* files = NewChild<CTextEdit>(app, fileList, FileList, this);
    // Lists of names to pick from, not to edit.
    for (CTextEdit* list : {directories, files}) {
        list->SetEditable(0);
        list->fitsNumbers = 0;
    }
    Refill();
    // Each list and its scroll bar form a ring, so the thumb follows the list.
    auto* directoryBar = NewChild<CScroller>(app, directoryScroller, DirectoryScroller, this);
    auto* fileBar = NewChild<CScroller>(app, fileScroller, FileScroller, this);
    directoryBar->SetNext(directories);
    directories->SetNext(directoryBar);
    fileBar->SetNext(files);
    files->SetNext(fileBar);
    NewChild<CEditBox>(app, nameField, NameField, this);
    ShowCurrentPath();
    NewChild<CButton>(app, cancelButton, CancelButton, this)->SetCaption("Cancelar");
    NewChild<CButton>(app, okButton, OkButton, this)->SetCaption("O.k");
}

// The folder picture, then the page picture as a trail fading to its right.
void CFileChooser::DrawPictures()
{
    CCanvas* canvas = GetCanvas();
    Variable picture(new CBCell(application));
    auto* cell = picture.As<CBCell>();
    LoadPicture(application, cell, BuiltinChooserFolder, BuiltinChooserFolderSize);
    canvas->DrawCell(cell, 46, 8);
    LoadPicture(application, cell, BuiltinChooserPage, BuiltinChooserPageSize);
    for (const auto& step : Trail)
        cell->DrawFaded(canvas, step.x, step.y, 0, 0, 0, 0, step.opacity);
    canvas->DrawCell(cell, 243, 8);
}

void CFileChooser::ShowChildren()
{
    for (Variable* child : {&directoryScroller, &directoryList, &fileScroller, &fileList, &nameField,
                            &cancelButton, &okButton})
        if (auto* window = child->CheckedAs<CWindow>())
            window->Show();
}

// One answer per showing; the owner is told only while it is there to hear it.
void CFileChooser::Answer(int32_t key)
{
    if (answered)
        return;
    answered = 1;
    Hide();
    CEvent result;
    result.type = EV_RESULT;
    result.key = key;
    result.source = this;
    if (auto* receiver = dynamic_cast<CWComponent*>(owner.GetChecked()))
        GetApplication()->SendEvent(receiver, result);
}

void CFileChooser::HoldOwner(CWindow* window)
{
    DropOwner();
    owner = window;
    if (CObject* held = owner.GetChecked()) {
        held->RemoveReference();
        ownerUncounted = 1;
    }
}

void CFileChooser::DropOwner()
{
    if (CObject* held = owner.GetChecked(); held && ownerUncounted)
        held->AddReference();
    ownerUncounted = 0;
    owner.Clear();
}

// Enters the directory list's current line as a click does; after a second Tab the
// name field is left empty.
void CFileChooser::EnterCurrentDirectory(int emptyName)
{
    Variable line(CurrentLine(GetDirectoryList()));
    std::string text = Bytes(line.As<CString>());
    if (text.empty() || !ChangeTo(text.data(), uint32_t(text.size())))
        return;
    Refill();
    if (emptyName)
        SetName("", 0);
    else
        ShowCurrentPath();
}

// Changes the current directory to a shown text; false, changing nothing, when the
// text names no file (a stand-in for a character the code page lacks, or a zero).
bool CFileChooser::ChangeTo(const char* text, uint32_t size)
{
    std::string name;
    auto* files = navigator.CheckedAs<CFileNavigator>();
    if (!files || !FileNameFromText(std::string(text, size), name) || name.find('\0') != std::string::npos)
        return false;
    files->ChangeDirectory(name.c_str());
    return true;
}

void CFileChooser::Refill()
{
    auto* files = navigator.CheckedAs<CFileNavigator>();
    if (!files)
        return;
    if (CTextEdit* list = GetDirectoryList())
        FillList(list, files->ListDirectories());
    if (CTextEdit* list = GetFileList())
        FillList(list, files->ListFiles());
}

// The list's lines become the names as shown, sorted; no names leave one empty line.
// The first line is current, the view and the thumb at the top.
void CFileChooser::FillList(CTextEdit* list, CList* names)
{
    Variable hold(names);
    list->Clear();
    uint32_t count = names ? names->GetCount() : 0;
    std::vector<std::string> shown;
    shown.reserve(count);
    for (uint32_t i = 0; i < count; i++) {
        std::string name = Bytes(static_cast<CString*>(names->GetAt(i)));
        // A save's new file, or one a killed save left: nobody's document.
        if (list != GetFileList() || !CReplacingFile::IsTemporaryName(name))
            shown.push_back(TextFromFileName(name));
    }
    SortNames(shown);
    for (const std::string& name : shown)
        list->AddLine(name.data(), uint32_t(name.size()));
    if (!shown.empty())
        list->DeleteRow(0);  // the empty line Clear left; the editor takes the first name
    if (auto* bar = list->nextFocus.CheckedAs<CScroller>())
        bar->Draw();
}

void CFileChooser::ShowCurrentPath()
{
    auto* files = navigator.CheckedAs<CFileNavigator>();
    if (!files)
        return;
    Variable path(files->GetCurrentPath());
    std::string shown = TextFromFileName(Bytes(path.As<CString>()));
    SetName(shown.data(), uint32_t(shown.size()));
}

// The current path joined with the picked file by the system's separator ("\" on
// Windows); a root already ends in one. The empty line of an empty folder is no file.
void CFileChooser::PickCurrentFile()
{
    auto* files = navigator.CheckedAs<CFileNavigator>();
    Variable line(CurrentLine(GetFileList()));
    std::string name = Bytes(line.As<CString>());
    if (!files || name.empty())
        return;
    Variable path(files->GetCurrentPath());
    std::string shown = TextFromFileName(Bytes(path.As<CString>()));
    if (shown.empty() || shown.back() != CFileNavigator::Separator)
        shown += CFileNavigator::Separator;
    shown += name;
    SetName(shown.data(), uint32_t(shown.size()));
}

// Tab: the first directory line closest to the typed text is selected; typed exactly,
// or selected already, it is entered.
void CFileChooser::CompleteDirectory()
{
    CTextEdit* list = GetDirectoryList();
    CEditBox* field = GetNameField();
    if (!list || !field || !field->GetText())
        return;
    uint32_t closest = 0;
    int distance = NoLine;
    for (uint32_t i = 0; i < list->GetLineCount(); i++) {
        int d = std::abs(field->GetText()->Compare(list->LineAt(i)));
        if (d < distance) {
            distance = d;
            closest = i;
        }
    }
    if (distance == NoLine)
        return;
    if (distance == 0) {
        CTextEditRing::WalkRing(list, CTextEditRing::CurrentRowWalk, closest);
        EnterCurrentDirectory(0);
    } else if (closest != list->GetCurrentRow()) {
        CTextEditRing::WalkRing(list, CTextEditRing::CurrentRowWalk, closest);
    } else {
        EnterCurrentDirectory(1);
    }
}

void CFileChooser::MoveDirectorySelection(int step)
{
    CTextEdit* list = GetDirectoryList();
    if (!list)
        return;
    int64_t row = int64_t(list->GetCurrentRow()) + step;
    if (row >= 0 && row < int64_t(list->GetLineCount()))
        CTextEditRing::WalkRing(list, CTextEditRing::CurrentRowWalk, uint32_t(row));
}

// The caret goes to the end, where a name is typed after a path.
void CFileChooser::SetName(const char* text, uint32_t size)
{
    CEditBox* field = GetNameField();
    if (!field)
        return;
    field->SetText(text, size);
    field->caret = size;
    field->Draw();
}

// Whether the pointer, which has just clicked the list, lies on one of its lines: a
// click below the last line picks nothing.
int CFileChooser::ClickedLine(CTextEdit* list)
{
    PWindowSystem* system = GetApplication()->GetSystem();
    PRect rect;
    PPoint pointer;
    if (!list || list->rowHeight <= 0 || !system || !system->GetWindowRect(list->handle, rect) ||
        !system->GetCursorPos(pointer) || pointer.y < rect.top)
        return 0;
    uint32_t row = list->firstRow + uint32_t(pointer.y - rect.top) / uint32_t(list->rowHeight);
    return row < list->GetLineCount();
}

// A new string (count 0) with the text of the list's current line, or none.
CString* CFileChooser::CurrentLine(CTextEdit* list)
{
    return list ? list->GetLine(list->GetCurrentRow()) : nullptr;
}
