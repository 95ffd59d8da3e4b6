#pragma once

#include "toolkit/CButton.h"

// A button whose face is one of five images chosen by its state, drawn over the
// parent's background; caption and icon as for a plain button.
class CSkinButton : public CButton {
public:
    explicit CSkinButton(CGApplication* app);
    ~CSkinButton() override;

    void Draw() override;

    void SetSkinNormal(CBCell* cell);
    void SetSkinHover(CBCell* cell);
    void SetSkinPressed(CBCell* cell);
    void SetSkinFocused(CBCell* cell);
    void SetSkinFocusedHover(CBCell* cell);

    Variable skinNormal;
    Variable skinHover;
    Variable skinPressed;
    Variable skinFocused;
    Variable skinFocusedHover;
};
