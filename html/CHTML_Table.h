#pragma once

#include "core/Variable.h"
#include "html/CHTML.h"

class CList;

// A table of text columns: `columns` is a CList whose items are CLists of CString,
// often the very line lists of a window's columns. With `hasHeader` set, item 0 holds
// the captions. Rows follow the first data column; cell texts are escaped, since they
// come from what users type.
class CHTML_Table : public CHTML {
public:
    explicit CHTML_Table(CApplication* app);
    ~CHTML_Table() override;

    int Destroy() override;
    void WriteTo(CIO* stream) override;

    Variable columns;
    int hasHeader = 0;

private:
    void WriteHeader(CIO* stream, CList* captions);
    void WriteRows(CIO* stream, CList* list, uint32_t first);
    int DestroyTable();
};
