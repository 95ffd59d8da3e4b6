#pragma once

#include "core/CComponent.h"
#include "core/Variable.h"
#include "io/CDataColumn.h"

class CList;

// A data column kept in memory as a list of CString lines, for tests and for tools
// that work on data sets without windows. Starts with one empty line.
class CLineColumn : public CComponent, public CDataColumn {
public:
    explicit CLineColumn(CApplication* app);
    ~CLineColumn() override;

    int Destroy() override;

    uint32_t LineCount() override;
    CString* LineAt(uint32_t i) override;
    void AddLine(const char* text, uint32_t size) override;
    void MakeEmpty() override;
    void DeleteFirstLine() override;

    void AddLine(const char* text);
    // The list of lines itself, to share with a report table.
    CList* GetLines() const;

    Variable lines;
};
