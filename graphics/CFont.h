#pragma once

#include <cstdint>

#include "core/CComponent.h"

class CString;
class PFont;

// A font made from a short description ("B-I-U-Face:12"): style marks, a face name
// and a character cell height. Every canvas writes its text with one; the toolkit
// measures with it.
class CFont : public CComponent {
public:
    explicit CFont(CApplication* app);
    ~CFont() override;

    int Destroy() override;

    void SetDefault();
    void Set(const char* description);
    int TextWidth(const char* text);
    int TextWidth(CString* text);
    int TextWidth(const char* text, uint32_t count);
    int TextHeight(const char* text);
    int TextHeight(const char* text, uint32_t count);

    // The native font, valid while `created` is 1.
    PFont* fontHandle = nullptr;

private:
    int DestroyFont();
};

// The description every canvas starts with.
constexpr const char* DefaultFontName = "Ms Sans Serif:12";
