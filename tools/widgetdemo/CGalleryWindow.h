#pragma once

#include <string>

#include "toolkit/CBasicWindow.h"

class CBCell;

// A decorated window holding one of every widget, so a person can try them: skin
// buttons and plain buttons with the program's skins and icons, labels in the three
// alignments and with an image, an edit box, and a ring of three text columns with a
// scroller. A label tells which button was clicked last; closing the window ends the
// loop.
class CGalleryWindow : public CBasicWindow {
public:
    static constexpr int Width = 640;
    static constexpr int Height = 440;

    CGalleryWindow(CGApplication* app, const std::string& pictureFolder);
    ~CGalleryWindow() override;

    void HandleEvent(CEvent event) override;

    // The folder with the program's .cel pictures: beside the executable, or the
    // build's app folder for a program run from its build folder.
    static std::string FindPictureFolder();

    enum { SkinButtons = 4, PlainButtons = 3, Labels = 4, Columns = 3 };
    Variable skinButtons[SkinButtons];
    Variable infoButton;
    Variable plainButtons[PlainButtons];
    Variable labels[Labels];
    Variable status;
    Variable editBox;
    Variable columnCaptions[Columns];
    Variable columns[Columns];
    Variable scroller;
    enum { MostPictures = 16 };
    Variable pictures[MostPictures];
    int pictureCount = 0;

private:
    void Build();
    void BuildButtons();
    void BuildLabels();
    void BuildEditors();
    CBCell* Picture(const char* name);
    CBCell* Keep(CBCell* picture);
    CBCell* ScaledPicture(const char* name, int w, int h);
    void ShowClicked(CObject* source);

    std::string folder;
};
