#pragma once

#include "core/Variable.h"
#include "html/CHTML.h"

// A piece of literal markup, such as a heading, followed by "<sp>". The text is the
// program's own and goes out verbatim, entities and tags included.
class CHTML_Text : public CHTML {
public:
    explicit CHTML_Text(CApplication* app);
    ~CHTML_Text() override;

    int Destroy() override;
    void WriteTo(CIO* stream) override;

    Variable text;

private:
    int DestroyText();
};
