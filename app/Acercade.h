#pragma once

#include "toolkit/CBasicWindow.h"

// The about window: the picture built into the program and the author's name, in one
// label, under the title "Programa Realizado por :".
class Acercade : public CBasicWindow {
public:
    static constexpr int Width = 320;
    static constexpr int Height = 152;

    explicit Acercade(CGApplication* app);
    ~Acercade() override;

    void HandleEvent(CEvent event) override;

    Variable label;

private:
    void Build();
};
