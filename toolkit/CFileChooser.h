#pragma once

#include <cstdint>

#include "toolkit/CBasicWindow.h"

class CEditBox;
class CList;
class CString;
class CTextEdit;

// The file chooser: sub-directories and the root on the left, the other files on the
// right, a name field below holding the current path or a picked file's path, and
// "O.k" and "Cancelar". It answers the window that opened it with EV_RESULT (key 1
// for "O.k", 0 for "Cancelar", source the chooser); the owner then asks for the name.
// Enter in the name field enters a folder it names and otherwise confirms as "O.k".
// It works on the process's current directory, so the next chooser opens where this
// one was left. Names are shown as Windows-1252 text and converted to and from the
// system's file names where they cross.
class CFileChooser : public CBasicWindow {
public:
    explicit CFileChooser(CGApplication* app);
    ~CFileChooser() override;

    void HandleEvent(CEvent event) override;
    // The background pattern with the two built-in pictures.
    void Draw() override;

    // Creates the dialog as a decorated window at (128, 64) with a 390 × 364 client
    // area; a null title means the application's, NoTitle an undecorated dialog. The
    // owner only receives the answer; the caller shows the dialog and keeps it.
    void OpenChooser(const char* title, CWindow* owner);
    // A new string (count 0) with the name field's text as shown (Windows-1252).
    CString* GetChosenName();

    CTextEdit* GetDirectoryList() const;
    CTextEdit* GetFileList() const;
    CEditBox* GetNameField() const;

    Variable directoryList;
    Variable fileList;
    Variable okButton;
    Variable cancelButton;
    Variable navigator;
    Variable directoryScroller;
    Variable fileScroller;
    Variable nameField;
    Variable owner;

private:
    void OwnEvent(CEvent event);
    void ChildEvent(CEvent event);
    void NameFieldKey(int32_t key);
    void EnterOrConfirm();
    void Build();
    void DrawPictures();
    void ShowChildren();
    void Answer(int32_t key);
    void HoldOwner(CWindow* window);
    void DropOwner();

    void EnterCurrentDirectory(int keepName);
    bool ChangeTo(const char* text, uint32_t size);
    void Refill();
    void FillList(CTextEdit* list, CList* names);
    void ShowCurrentPath();
    void PickCurrentFile();
    void CompleteDirectory();
    void MoveDirectorySelection(int step);
    void SetName(const char* text, uint32_t size);
    int ClickedLine(CTextEdit* list);
    CString* CurrentLine(CTextEdit* list);

    // The owner's count was lowered once: the owner keeps its chooser, and a counted
    // reference back would keep both alive for as long as the program runs.
    uint32_t ownerUncounted = 0;
    // Set once "O.k" or "Cancelar" answered; a new showing may answer again.
    uint32_t answered = 0;
};
