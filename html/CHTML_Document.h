#pragma once

#include "core/Variable.h"
#include "html/CHTML.h"

// A whole report: the head with its title, then every element in list order. The
// creator fills `title` (a CString) and `elements` (a CList of CHTML) directly.
class CHTML_Document : public CHTML {
public:
    explicit CHTML_Document(CApplication* app);
    ~CHTML_Document() override;

    int Destroy() override;
    void WriteTo(CIO* stream) override;

    Variable title;
    Variable elements;

private:
    int DestroyDocument();
};
