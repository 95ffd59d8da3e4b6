#pragma once

#include <cstdint>
#include <string>

#include "app/FitReport.h"
#include "core/Variable.h"

class CBasicWindow;
class CBCell;
class CButton;
class CDataColumn;
class CFileChooser;
class CGApplication;
class CScroller;
class CTextEdit;

// The parts the two result windows share: their copy of the data, columns with their
// captions, the Tab rings, the plot window and the export of the report.

// Copies the rows a fit uses (trailing empty rows left out) from the live data columns
// into four columns of the window's own, so the report shows the data of its results
// whatever happens to the live columns later. Returns the row count.
uint32_t CopyDataSet(CGApplication* app, CDataColumn* const live[4], Variable copies[4]);
// The copies as data columns.
void DataColumnsOf(const Variable copies[4], CDataColumn* data[4]);

// Draws the caption at x + 10 with its bottom at y = 20, and creates a read-only column
// of 101 pixels at (x, 22) under it, shown.
CTextEdit* AddResultColumn(CBasicWindow* window, const char* caption, int x, int height);
CScroller* AddResultScroller(CBasicWindow* window, int x, int height);

// Drops the empty line every new column starts with, so each holds exactly the lines
// the fit appended.
void DropFirstLines(CTextEdit* const* columns, int count);

// Two rings: the auxiliary columns left to right and their scroller; "Valores",
// "Incognitas" and the second scroller. Each starts at its first row.
void ChainResultRings(CTextEdit* const* auxiliary, int count, CScroller* first, CTextEdit* names,
                      CTextEdit* values, CScroller* second);

// The "Exportar HTML" button at (x, y), 164 × 36, shown.
CButton* AddExportButton(CBasicWindow* window, int x, int y, CBCell* icon);

// Creates the plot window "Grafica (Meramente Orientativa)" and draws the fit on it.
CBasicWindow* OpenPlotWindow(CGApplication* app, CDataColumn* const data[4], uint32_t rows, double a, double b);

// A new chooser "Exportar HTML ..." answering `owner`, shown.
CFileChooser* OpenExportChooser(CBasicWindow* owner);

// Writes the report to the name the chooser confirmed; a failure is told in a message
// window held by `message`.
void ExportReport(CGApplication* app, CFileChooser* chooser, FitKind kind, const ReportColumns& columns,
                  Variable& message);

// Opens a message window with the text, held by `message` (which drops an earlier one).
void ShowMessage(CGApplication* app, Variable& message, const std::string& text);
