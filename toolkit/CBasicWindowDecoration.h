#pragma once

#include <cstdint>

#include "toolkit/CWindow.h"

class CBasicWindow;

// The frame and title bar of a decorated window, an undecorated popup of its own:
// icon, title and close button; dragging the title bar moves the window, a right or
// middle press renames it in place.
class CBasicWindowDecoration : public CWindow {
public:
    explicit CBasicWindowDecoration(CGApplication* app);
    ~CBasicWindowDecoration() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    // The title as text (the native window text follows it).
    void SetTitleText(const char* text);
    int IsDragging() const { return bool(dragTimer); }
    int IsRenaming() const { return bool(titleEditor); }

    Variable dragTimer;
    Variable closeButton;
    Variable icon;
    Variable title;
    Variable titleEditor;
    CEvent dragRect;
    CEvent cursorNow;
    CEvent cursorBefore;
    CEvent clientRect;
    int32_t titleHeight = 20;
    CBasicWindow* client = nullptr;

private:
    void OwnEvent(CEvent event);
    void ChildEvent(CEvent event);
    void LoadDefaultIcon();
    void StartDrag();
    void FollowPointer();
    void EndDrag();
    void Resized(CEvent event);
    void CloseClient();
    void EditorEvent(CEvent event);
    void StartRename(int32_t button);
    void CommitRename();
    void CancelRename();
    void EndRename();
    bool PointerInside(CWindow* window);

    // An editor taken off the title bar; deleted at the next event, never inside its own.
    Variable retiredEditor;
};
