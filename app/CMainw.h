#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/CUndoHistory.h"
#include "toolkit/CBasicWindow.h"
#include "toolkit/CRowChanges.h"

class CBCell;
class CRecoveryFile;
class CDataColumn;
class CDataLoad;
class CList;
class CFile;
class CTextEdit;
enum class FitKind;
struct DataFileOutcome;
struct FitProblem;

// The main window: the four data columns with their scroller, the file commands
// ("Nuevo", "Cargar", "Guardar", "Guardar Como"), the about button and the three fits.
// Failures of saving and loading are told in a message window, and so is a fit that
// cannot be computed, its cell at fault marked in its column. A file is loaded aside,
// a slice at a time while the windows go on, and replaces the columns only once it
// loaded whole; saving over a file other than the data path asks first. Every change
// to the data set — typed, deleted, pasted, "Nuevo", "Cargar" — is a step of its
// history, which Control+Z and Control+Y go back and forth in.
class CMainw : public CBasicWindow, public CRowChanges {
public:
    static constexpr int Width = 600;
    static constexpr int Height = 480;

    // The pictures (skins and icons) are read from `pictureFolder` when the window is
    // created; a missing one leaves its place empty.
    CMainw(CGApplication* app, const std::string& pictureFolder);
    ~CMainw() override;

    void HandleEvent(CEvent event) override;

    CTextEdit* GetColumn(int k) const;
    // The data path as shown (Windows-1252); empty for a new data set.
    std::string GetDataPath() const;

    // Puts the rows of `from` in the four columns (the lists of CLineColumns taken as
    // they are, other columns copied; the old lists kept whole by the history) with
    // `path` as the data path, as one step of the history; `saved` when they are the
    // rows of the file at `path`. A load in progress ends here, if it ends well.
    void ReplaceDataSet(CDataColumn* const from[4], const std::string& path, bool saved);
    // Control+Z and Control+Y: the last step taken back, the last one taken back done
    // again; the columns show its rows.
    void Undo();
    void Redo();
    // Whether the rows shown differ from those last saved or loaded (typed text not
    // yet confirmed counts); an empty data set has nothing to lose.
    bool HasUnsavedRows();
    const CUndoHistory& GetHistory() const { return history; }

    // Keeps the data set in a recovery file in `folder` while it differs from what was
    // saved, written within a second or two of a change; and first takes over the
    // file a program that is gone left unsaved, its rows shown with a message.
    void KeepRecovery(const std::string& folder);
    // At the program's end: the recovery file stays when rows are unsaved, so the
    // next start shows them again; otherwise it goes.
    void EndRecovery();
    // Writes the recovery file, a slice at a time, if anything changed since it was
    // last written; the timer calls it again while rows remain.
    void WriteRecovery();
    std::string GetRecoveryPath() const;
    // How long a slice of that write may take; 0 writes one batch of rows per turn of
    // the loop, as tests count them.
    void SetRecoverySlice(uint32_t milliseconds) { recoverySlice = milliseconds; }

    void RowsChanged(CTextEdit* column, uint32_t row, std::vector<std::string>&& before,
                     std::vector<std::string>&& after) override;
    void ListChanged(CTextEdit* column, CList* before, CList* after) override;
    void HistoryKey(bool forth) override;

    Variable newButton;
    Variable loadButton;
    Variable saveButton;
    Variable saveAsButton;
    Variable infoButton;
    Variable simpleButton;
    Variable weightedButton;
    Variable yorkButton;
    Variable captionLabels[4];
    Variable columns[4];
    Variable scroller;
    Variable aboutWindow;
    Variable dataPath;
    Variable resultWindow;
    Variable chooser;
    Variable exportIcon;
    uint32_t chooserSaves = 0;
    Variable messageWindow;
    Variable recoveryTimer;
    // While a large file loads: the timer that reads the next slice, and the window
    // saying so.
    Variable loadTimer;
    Variable loadingWindow;
    // The question before a save replaces a file, and the name it would write.
    Variable question;
    std::string questionedName;

    // True while a file is being loaded.
    bool IsLoading() const { return load != nullptr; }

private:
    void Build();
    void BuildInfoButton(CFile* pictures);
    void BuildFitButtons(CFile* pictures);
    void BuildColumns();
    void DrawSeparator();
    void DrawColumnHeads();
    CBCell* LoadPicture(CFile* file, const char* name, bool channels = true);
    CBCell* LoadScaled(CFile* file, const char* name, int w, int h);

    bool Command(CObject* source, const CEvent& event);
    void NewDataSet();
    void OpenChooser(const char* title, uint32_t saves);
    void Save();
    void OpenAbout();
    void OpenFit(FitKind kind);
    void MarkCell(const FitProblem& problem);
    void ChooserAnswered(int32_t key);
    bool SaveTo(const std::string& shown);
    bool LoadFrom(const std::string& shown);
    void GoOnLoading();
    void FinishLoad();
    void StopLoad();
    void SaveAsking(const std::string& shown);
    void QuestionAnswered(int32_t key);
    using DataFileProcedure = int (*)(CApplication*, const char*, CDataColumn* const[4], DataFileOutcome*);
    bool OnDataFile(DataFileProcedure procedure, const char* verb, const std::string& shown, DataFileOutcome& outcome);
    void SetDataPath(const std::string& shown);
    void ConfirmCells();
    void GoThroughHistory(bool forth);
    void ApplyChange(const CUndoHistory::Change& change, bool forth);
    int RecordedColumn(CTextEdit* column) const;
    void RecordChange(CUndoHistory::Change&& change);
    void DataChanged();
    void CellTyped();
    void WaitForNextRecovery();
    int ColumnIndex(CTextEdit* column) const;
    void DataColumns(CDataColumn* out[4]) const;
    void Tell(const std::string& text);

    std::string pictureFolder;
    CUndoHistory history;
    bool replaying = false;
    std::unique_ptr<CRecoveryFile> recovery;
    // Changes of anything the recovery file holds; those that move rows (all but
    // typing in a cell) drop a slice-by-slice write of it in progress.
    uint64_t changes = 0;
    uint64_t rowChanges = 0;
    uint64_t changesWritten = 0;
    uint64_t rowChangesWritten = 0;
    int recoveryRestarts = 0;
    uint32_t recoverySlice;
    std::unique_ptr<CDataLoad> load;
};
