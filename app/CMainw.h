#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/CBasicWindow.h"

class CBCell;
class CDataColumn;
class CDataLoad;
class CList;
class CFile;
class CTextEdit;
enum class FitKind;
struct DataFileOutcome;
struct FitProblem;

// The main window: the four data columns with their scroller, the file commands
// ("Nuevo", "Cargar", "Guardar", "Guardar Como"), the about button and the two fits.
// Failures of saving and loading are told in a message window, and so is a fit that
// cannot be computed, its cell at fault marked in its column. A file is loaded aside,
// a slice at a time while the windows go on, and replaces the columns only once it
// loaded whole; saving over a file other than the data path asks first.
class CMainw : public CBasicWindow {
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

    Variable newButton;
    Variable loadButton;
    Variable saveButton;
    Variable saveAsButton;
    Variable infoButton;
    Variable simpleButton;
    Variable weightedButton;
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
    void BuildFileButtons();
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
    void ReplaceDataSet(CList* const rows[4]);
    void SaveAsking(const std::string& shown);
    void QuestionAnswered(int32_t key);
    using DataFileProcedure = int (*)(CApplication*, const char*, CDataColumn* const[4], DataFileOutcome*);
    bool OnDataFile(DataFileProcedure procedure, const char* verb, const std::string& shown, DataFileOutcome& outcome);
    void SetDataPath(const std::string& shown);
    void DataColumns(CDataColumn* out[4]) const;
    void Tell(const std::string& text);

    std::string pictureFolder;
    std::unique_ptr<CDataLoad> load;
};
