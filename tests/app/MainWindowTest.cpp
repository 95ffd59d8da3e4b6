#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/Acercade.h"
#include "app/CCompactColumn.h"
#include "app/CRecoveryFile.h"
#include "app/FileMessages.h"
#include "app/Pregunta.h"
#include "graphics/CBCell.h"
#include "io/DataCell.h"
#include "io/DataFile.h"
#include "platform/FileNames.h"
#include "tests/app/AppWindowFixture.h"
#include "toolkit/CLabel.h"
#include "toolkit/CScroller.h"
#include "toolkit/CSkinButton.h"
#include "toolkit/Notice.h"

using platform::VK_TAB;

namespace {
std::string Count(uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

std::string CurrentDirectory() { return folder_paths::CurrentFolder(); }
}  // namespace

using MainWindowTest = AppWindowTest;

// Start-up: centred, in "Dades", typing in column 1; Tab goes round the columns and the
// scroller. Without "Dades" the start folder stays current.
TEST_F(MainWindowTest, StartsCentredInDadesAndTabGoesRound)
{
    CMainw* main = Start();
    platform::PPoint corner = FrameCorner(main);
    EXPECT_EQ(corner.x, 212);
    EXPECT_EQ(corner.y, 144);
    EXPECT_EQ(main->width, 600);
    EXPECT_EQ(main->height, 480);
    EXPECT_EQ(Title(main), "Ajustor-2  (Beta 3)");
    EXPECT_EQ(CurrentDirectory(), dades);
    EXPECT_EQ(main->GetDataPath(), "");
    const char* labels[] = {"Valores X", "Valores Y", "Errores X", "Errores Y == w"};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(Text(main->captionLabels[i].As<CLabel>()->text.As<CString>()), labels[i]);
    EXPECT_EQ(Text(main->newButton.As<CButton>()->caption.As<CString>()), "Nuevo");
    EXPECT_EQ(Column(3)->x, 468);
    EXPECT_EQ(Column(3)->width, 101);

    auto* scroller = main->scroller.As<CScroller>();
    EXPECT_EQ(Column(3)->nextFocus.Get(), scroller);
    EXPECT_EQ(scroller->nextFocus.Get(), Column(0));
    // Column 1 first; from column 4 through the scroller, which hands on to column 1.
    for (int k = 0; k <= 4; k++) {
        EXPECT_EQ(app->activeWindow, Column(k % 4)->GetEditor()) << k;
        Key(VK_TAB, 9);
    }

    window.Clear();
    ASSERT_TRUE(folder_paths::ChangeFolder(root));
    std::filesystem::remove(folder_paths::FsPath(dades));
    Start();
    EXPECT_EQ(CurrentDirectory(), root);
}

// "Guardar" asks for a name once, then writes to that file at once, as it does to the
// file "Cargar" read; a chooser given up changes nothing; "Guardar Como" onto another
// existing file asks first and writes nothing until "Sí"; "Nuevo" forgets the file.
TEST_F(MainWindowTest, GuardarWritesToTheFileNamedOrLoaded)
{
    WriteFile(Join(dades, "medidas.dat"), Count(2) + "1;0.1;2;0.2;\n2;0.1;4;0.2;\n");
    const std::string other = Join(dades, "otro.dat"), old = Count(1) + "old;;;;\n";
    CMainw* main = Start();
    TypeColumns({{"1", "2"}, {"", ""}, {"3", "5"}});
    Click(main->saveButton);
    CFileChooser* chooser = Chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(Title(chooser), "Guardar Datos Como ...");
    Answer(chooser, "datos.dat");
    std::string path = Join(dades, "datos.dat");
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_EQ(main->question.Get(), nullptr) << "a new name asks nothing";
    EXPECT_EQ(ReadFile(path), Count(3) + "1;;3;;\n2;;5;;\n;;;;\n") << "saved exactly as typed";
    EXPECT_EQ(Message(main->messageWindow), nullptr);
    ClickAt(Column(0), 20, Column(0)->rowHeight / 2);
    Key(platform::VK_END);
    Type("7\n");
    Click(main->saveButton);
    EXPECT_EQ(Chooser(), chooser) << "no new chooser";
    EXPECT_FALSE(chooser->visible);
    EXPECT_EQ(ReadFile(path).substr(4, 7), "17;;3;;");

    Click(main->loadButton);
    ASSERT_NE(Chooser(), nullptr);
    EXPECT_EQ(Title(Chooser()), "Cargar Datos ...");
    Answer(Chooser(), "medidas.dat");
    path = Join(dades, "medidas.dat");
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(LinesOf(Column(3)), (std::vector<std::string>{"0.2", "0.2"}));
    EXPECT_EQ(app->activeWindow, Column(0)->GetEditor());
    Type("9");
    Click(main->saveButton);
    EXPECT_EQ(ReadFile(path), Count(2) + "91;0.1;2;0.2;\n2;0.1;4;0.2;\n");

    Click(main->saveAsButton);
    Answer(Chooser(), "otro.dat", false);
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_FALSE(std::filesystem::exists(other));
    Click(main->loadButton);
    Answer(Chooser(), "otro.dat", false);
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"91", "2"}));

    Click(main->saveAsButton);
    Answer(Chooser(), "medidas.dat");
    EXPECT_EQ(main->question.Get(), nullptr) << "the data set's own file asks nothing";
    WriteFile(other, old);
    for (bool replace : {false, true}) {
        Click(main->saveAsButton);
        Answer(Chooser(), "otro.dat");
        auto* question = main->question.CheckedAs<Pregunta>();
        ASSERT_NE(question, nullptr);
        EXPECT_TRUE(question->visible);
        EXPECT_EQ(question->GetMessage(), "\xBFReemplazar \xABotro.dat\xBB?");
        EXPECT_EQ(app->activeWindow, question->noButton.Get()) << "Enter keeps the file";
        EXPECT_EQ(ReadFile(other), old) << "nothing written before the answer";
        Click(replace ? question->yesButton : question->noButton);
        EXPECT_FALSE(question->visible);
        EXPECT_EQ(ReadFile(other), replace ? Count(2) + "91;0.1;2;0.2;\n2;0.1;4;0.2;\n" : old);
        EXPECT_EQ(main->GetDataPath(), replace ? other : path);
    }

    Click(main->newButton);
    EXPECT_EQ(main->GetDataPath(), "");
    for (int k = 0; k < 4; k++)
        EXPECT_EQ(LinesOf(Column(k)), (std::vector<std::string>{""}));
    EXPECT_EQ(app->activeWindow, Column(0)->GetEditor());
}

// Accented names are the system's names; a stand-in byte names nothing. A confirmed
// name is absolute at once, without a doubled separator in the root.
TEST_F(MainWindowTest, NamesAreSystemNamesAndAbsoluteAtOnce)
{
    CMainw* main = Start();
    TypeColumns({{"1"}});
    Click(main->saveAsButton);
    Answer(Chooser(), "medici\xF3n.dat");
    EXPECT_EQ(main->GetDataPath(), Join(dades, "medici\xF3n.dat"));
    EXPECT_TRUE(std::filesystem::exists(folder_paths::FsPath(Join(dades, "medici\xC3\xB3n.dat"))))
        << "UTF-8 on the disk";
    Click(main->newButton);
    Click(main->loadButton);
    Answer(Chooser(), "medici\xF3n.dat");
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"1", ""}));
    Click(main->saveAsButton);
    Answer(Chooser(), "a\x81" "b.dat");
    auto* message = Message(main->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_NE(message->GetMessage().find("no se pueden representar"), std::string::npos);
    EXPECT_EQ(main->GetDataPath(), Join(dades, "medici\xF3n.dat")) << "nothing written";
    Key(platform::VK_RETURN, 13);

    Click(main->newButton);
    TypeColumns({{"4"}});
    Click(main->saveAsButton);
    Answer(Chooser(), "a.dat");
    ASSERT_EQ(main->GetDataPath(), Join(dades, "a.dat"));
    // Another chooser moves the current directory up and is given up.
    Click(main->loadButton);
    Key(platform::VK_ESCAPE, 27);
    Type("..");
    Key(platform::VK_RETURN, 13);
    Click(Chooser()->cancelButton);
    ASSERT_EQ(CurrentDirectory(), root);
    Click(main->saveButton);
    EXPECT_FALSE(std::filesystem::exists(Join(root, "a.dat"))) << "still the file first named";
    EXPECT_EQ(ReadFile(Join(dades, "a.dat")), Count(2) + "4;;;;\n;;;;\n");

    const std::string top = folder_paths::RootOf(root);  // "/", "C:\"
    Click(main->saveAsButton);
    Key(platform::VK_ESCAPE, 27);
    Type(top);
    Key(platform::VK_RETURN, 13);
    ASSERT_EQ(CurrentDirectory(), top);
    Click(Chooser()->cancelButton);
    Click(main->loadButton);
    Answer(Chooser(), "no-existe-en-la-raiz.dat");
    ExpectMessage(main->messageWindow,
                  "No se pudo cargar \xAB" + top + "no-existe-en-la-raiz.dat\xBB: No existe el archivo o el directorio");
    EXPECT_EQ(main->GetDataPath(), Join(dades, "a.dat")) << "a failed load keeps the path";
}

TEST_F(MainWindowTest, FailuresAreToldInAMessageWindow)
{
    CMainw* main = Start();
    TypeColumns({{"1", "2"}});
    // Text on the clipboard that cannot be read: nothing pasted, and a word about it.
    desktop.BreakClipboard();
    Key(platform::VK_CONTROL);
    Type("v");
    ExpectMessage(main->messageWindow, "No se pudo pegar el portapapeles");
    Click(main->saveAsButton);
    Answer(Chooser(), Join("falta", "datos.dat"));
    ExpectMessage(main->messageWindow, "No se pudo guardar \xAB" + Join(Join(dades, "falta"), "datos.dat") +
                                           "\xBB: No existe el archivo o el directorio");
    EXPECT_EQ(main->GetDataPath(), "");

    std::filesystem::create_directory(Join(dades, "carpeta"));
    Click(main->loadButton);
    Answer(Chooser(), "carpeta");
    ExpectMessage(main->messageWindow, "No se pudo cargar \xAB" + Join(dades, "carpeta") + "\xBB: Es un directorio");
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"1", "2", ""})) << "a failed paste or load changes nothing";

    // A cell typed beyond the most it holds is cut, and told.
    ClickAt(Column(1), 20, Column(1)->rowHeight / 2);
    Type(std::string(DataCellLongest + 1, '3'));
    ExpectMessage(main->messageWindow, NoticeText(NoticeCellCut));
    EXPECT_EQ(LinesOf(Column(1))[0], std::string(DataCellLongest, '3'));
#ifndef _WIN32  // Windows has no device that is always full
    Click(main->saveAsButton);
    Answer(Chooser(), "/dev/full");
    ExpectMessage(main->messageWindow, "No se pudo guardar \xAB/dev/full\xBB: No queda espacio en el dispositivo");
#endif
}

// A file is read whole before anything changes: one that is no data file is refused
// and the columns and the data path stay; one whose count differs from its records,
// or whose cells were cut, loads with a word about it and leaves no data path.
TEST_F(MainWindowTest, LoadsThatCannotDamage)
{
    const std::string html = "<!DOCTYPE html>\n<html><body><table><tr><td>1,5</td></tr></table></body></html>\n";
    const std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const std::string longRecord = std::string(DataFileLongestRecord + 1, '1') + ";;;;\n";
    const std::string longCell = std::string(DataCellLongest + 9, '7') + ";;;;\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;                   // refused: the reason; loaded: what is told after the name
        std::vector<std::string> firstColumn;  // empty: refused, nothing changes
    } cases[] = {
        {"informe.html", html, "anuncia 1329865020 filas y solo tiene 79 bytes", {}},
        {"dibujo.png", png, "anuncia 1196314761 filas y solo tiene 16 bytes", {}},
        {"corto.bin", "\x01", "le falta la cuenta de filas", {}},
        {"campos.dat", Count(2) + "1;2;3;4;\n5;6\n", "la fila 2 no son cuatro campos terminados en ;", {}},
        {"cinco.dat", Count(1) + "1;2;3;4;5;\n", "la fila 1 no son cuatro campos terminados en ;", {}},
        {"hueco.dat", Count(2) + "1;;;;\n\n2;;;;\n", "la fila 2 no son cuatro campos terminados en ;", {}},
        {"binario.dat", Count(1) + std::string("1;\0;3;4;\n", 9), "la fila 1 tiene bytes que no son texto", {}},
        {"largo.dat", Count(1) + longRecord, "la fila 1 tiene m\xE1s de 1048576 bytes", {}},
        {"bueno.dat", Count(2) + "1;0.1;2;0.2;\r\n3;;4;;\n\r\n", "", {"1", "3"}},
        {"menos.dat", Count(1) + "5;;;;\n6;;;;\n7;;;;\n", " anuncia 1 fila pero contiene 3 filas: se han cargado todas.",
         {"5", "6", "7"}},
        {"mas.dat", Count(3) + "7;;8;;\n9;;10;;\n",
         " anuncia 3 filas pero solo contiene 2 filas: se ha cargado lo que hay. El archivo est\xE1 incompleto o no es "
         "un archivo de datos.",
         {"7", "9"}},
        {"celda.dat", Count(1) + longCell, ": 1 celda ten\xED" "a m\xE1s de 256 caracteres y se han cortado.",
         {std::string(DataCellLongest, '7')}},
    };
    CMainw* main = Start();
    TypeColumns({{"1", "2"}, {}, {"3", "4"}});
    Click(main->saveAsButton);
    Answer(Chooser(), "tecleado.dat");
    for (const Case& c : cases) {
        std::string path = Join(dades, c.name);
        WriteFile(path, c.bytes);
        std::vector<std::string> before[4];
        for (int k = 0; k < 4; k++)
            before[k] = LinesOf(Column(k));
        std::string pathBefore = main->GetDataPath();
        Click(main->loadButton);
        Answer(Chooser(), c.name);
        EXPECT_FALSE(main->IsLoading()) << c.name << ": a small file loads at once";
        if (c.message.empty()) {
            EXPECT_EQ(Message(main->messageWindow), nullptr) << c.name;
        } else {
            ExpectMessage(main->messageWindow, c.firstColumn.empty() ? "No se pudo cargar \xAB" + path +
                                                                           "\xBB: no es un archivo de datos: " + c.message
                                                                     : "\xAB" + path + "\xBB" + c.message);
        }
        if (c.firstColumn.empty()) {
            for (int k = 0; k < 4; k++)
                EXPECT_EQ(LinesOf(Column(k)), before[k]) << c.name << ": nothing changes";
            EXPECT_EQ(main->GetDataPath(), pathBefore) << c.name;
        } else {
            EXPECT_EQ(LinesOf(Column(0)), c.firstColumn) << c.name;
            EXPECT_EQ(main->GetDataPath(), c.message.empty() ? path : "") << c.name;
        }
    }
    EXPECT_EQ(LinesOf(Column(3)), (std::vector<std::string>{""}));
}

// Permissions bind only users without the superuser's rights: under root this part
// runs in a child that has become "nobody"; it exits 0 when all went as expected. On
// Windows, where a save replaces the file whatever its folder allows, a read-only file
// is the one kept.
TEST_F(MainWindowTest, AReadOnlyFolderIsToldAndTheOldFileKept)
{
    CMainw* main = Start();
    WriteFile(Join(dades, "viejo.dat"), "old");
    auto saveOverOld = [&] {
        TypeColumns({{"1"}});
        Click(main->saveAsButton);
        Answer(Chooser(), "viejo.dat");
        if (auto* question = main->question.CheckedAs<Pregunta>())
            Click(question->yesButton);
        auto* message = Message(main->messageWindow);
        return message ? message->GetMessage() : "<none>";
    };
    const std::string denied = "No se pudo guardar \xAB" + Join(dades, "viejo.dat") + "\xBB: Permiso denegado";
#ifdef _WIN32
    // Without write permission the C library marks the file read-only.
    namespace fs = std::filesystem;
    const fs::path old = folder_paths::FsPath(Join(dades, "viejo.dat"));
    fs::permissions(old, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ASSERT_FALSE((fs::status(old).permissions() & fs::perms::owner_write) != fs::perms::none);
    EXPECT_EQ(saveOverOld(), denied);
    EXPECT_EQ(main->GetDataPath(), "");
    fs::permissions(old, fs::perms::owner_write, fs::perm_options::add);
#else
    chmod(dades.c_str(), 0555);
    chmod(root.c_str(), 0755);
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(10);
        bool told = saveOverOld() == denied;
        bool kept = ReadFile(Join(dades, "viejo.dat")) == "old" && main->GetDataPath().empty();
        _exit(told ? (kept ? 0 : 12) : 11);
    }
    int status = -1;
    waitpid(child, &status, 0);
    chmod(dades.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop rights, 11: no message, 12: file or path changed";
#endif
    EXPECT_EQ(ReadFile(Join(dades, "viejo.dat")), "old");
}

TEST_F(MainWindowTest, OnlyTheLastChooserIsHeard)
{
    WriteFile(Join(dades, "uno.dat"), Count(1) + "1;;;;\n");
    CMainw* main = Start();
    // A chooser put aside with its title bar's close button, and a second one.
    Click(main->loadButton);
    Variable older(Chooser());
    auto* first = older.As<CFileChooser>();
    CloseByTitleBar(first);
    Click(main->saveAsButton);
    auto* newer = Chooser();
    ASSERT_NE(newer, first);
    CloseByTitleBar(newer);
    // The older chooser, still alive, answers: nobody listens.
    first->Show();
    Pump();
    Answer(first, "uno.dat");
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{""}));
    EXPECT_EQ(main->GetDataPath(), "");
    // The newer one is heard.
    newer->Show();
    Pump();
    Answer(newer, "nuevo.dat");
    EXPECT_EQ(main->GetDataPath(), Join(dades, "nuevo.dat"));

    // A chooser nobody else holds closes when the next one replaces it.
    Click(main->loadButton);
    platform::PHandle handle = Chooser()->handle;
    CloseByTitleBar(Chooser());
    Click(main->loadButton);
    EXPECT_FALSE(desktop.IsWindow(handle));
}

// The about window is centred and replaced cleanly; missing or broken pictures leave
// every window usable.
TEST_F(MainWindowTest, TheAboutWindowAndMissingPictures)
{
    CMainw* main = Start();
    Click(main->infoButton);
    auto* about = main->aboutWindow.CheckedAs<Acercade>();
    ASSERT_NE(about, nullptr);
    platform::PPoint corner = FrameCorner(about);
    EXPECT_EQ(corner.x, 352);
    EXPECT_EQ(corner.y, 308);
    EXPECT_EQ(Title(about), "Programa Realizado por :");
    auto* label = about->label.As<CLabel>();
    EXPECT_EQ(Text(label->text.As<CString>()), "Lurio Vendaz i Cormet");
    auto* picture = label->labelImage.As<CBCell>();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 141);
    EXPECT_EQ(picture->GetHeight(), 128);
    EXPECT_EQ(label->width, 304);
    platform::PHandle first = about->handle;
    Click(main->infoButton);
    EXPECT_FALSE(desktop.IsWindow(first)) << "the earlier one closed";
    EXPECT_TRUE(main->aboutWindow.CheckedAs<Acercade>()->visible);

    window.Clear();
    main = Start(Join(root, "sin-imagenes"));
    TypeColumns({{"1", "2", "3"}, {}, {"2", "4", "6"}, {"1", "1", "1"}});
    for (const Variable* button : {&main->simpleButton, &main->weightedButton}) {
        Click(*button);
        ASSERT_NE(main->resultWindow.CheckedAs<CBasicWindow>(), nullptr);
        EXPECT_TRUE(main->resultWindow.CheckedAs<CBasicWindow>()->visible);
        CloseResult();
    }
    Click(main->infoButton);
    EXPECT_TRUE(main->aboutWindow.CheckedAs<CBasicWindow>()->visible);
    CloseByTitleBar(main->aboutWindow.CheckedAs<CBasicWindow>());
    Click(main->saveAsButton);
    Answer(Chooser(), "datos.dat");
    EXPECT_TRUE(std::filesystem::exists(Join(dades, "datos.dat")));

    // A picture file that is no picture at all.
    std::filesystem::create_directory(Join(root, "rotas"));
    for (const char* name : {"perla_gris_Boto.cel", "Info.cel", "calx.cel", "trev_i.cel", "NCarpetaHTML.cel"})
        WriteFile(Join(Join(root, "rotas"), name), "\xFF\xFF\xFF\x7F no es una imagen");
    window.Clear();
    main = Start(Join(root, "rotas"));
    TypeColumns({{"1", "2"}, {}, {"2", "4"}});
    Click(main->simpleButton);
    EXPECT_TRUE(main->resultWindow.CheckedAs<CBasicWindow>()->visible);
}

// Control+Z takes back every change to the data set, Control+Y and Control+Shift+Z do
// it again; the rows are shown where the change was.
TEST_F(MainWindowTest, UndoAndRedoEveryChangeOfTheDataSet)
{
    CMainw* main = Start();
    auto chord = [&](uint32_t key, bool shift = false) {
        desktop.PressKey(platform::VK_CONTROL);
        if (shift)
            desktop.PressKey(platform::VK_SHIFT);
        desktop.TypeKey(key, key - 'A' + 1);
        if (shift)
            desktop.ReleaseKey(platform::VK_SHIFT);
        desktop.ReleaseKey(platform::VK_CONTROL);
        Pump();
    };
    auto undo = [&] { chord('Z'); };
    auto redo = [&] { chord('Y'); };
    using Lines = std::vector<std::string>;
    TypeColumns({{"1", "2", "3"}, {}, {"4", "5", "6"}});
    const Lines x = {"1", "2", "3", ""};

    // A cell typed over and confirmed; a cell typed and not yet confirmed goes first.
    ClickAt(Column(0), 20, Column(0)->rowHeight / 2);
    Key(platform::VK_END);
    Type("0\n");
    Type("7");
    EXPECT_EQ(LinesOf(Column(0))[0], "10");
    undo();
    EXPECT_EQ(LinesOf(Column(0))[1], "2") << "the typing taken back";
    undo();
    EXPECT_EQ(LinesOf(Column(0)), x);
    EXPECT_EQ(Column(0)->GetCurrentRow(), 0u) << "shown where the change was";
    redo();
    EXPECT_EQ(LinesOf(Column(0))[0], "10");
    chord('Z', true);
    EXPECT_EQ(LinesOf(Column(0))[1], "72");
    undo();
    undo();

    // Escape deletes a row in all four columns; Control+Z brings it back everywhere.
    ClickAt(Column(2), 20, Column(2)->rowHeight * 3 / 2);
    Key(platform::VK_ESCAPE, 27);
    EXPECT_EQ(LinesOf(Column(2)), (Lines{"4", "6", ""}));
    undo();
    EXPECT_EQ(LinesOf(Column(0)), x);
    EXPECT_EQ(LinesOf(Column(2)), (Lines{"4", "5", "6", ""}));
    EXPECT_EQ(Column(3)->GetCurrentRow(), 1u);

    // A pasted block is one step; so is "Nuevo", which keeps the rows and their path.
    Click(main->saveAsButton);
    Answer(Chooser(), "datos.dat");
    ClickAt(Column(0), 20, Column(0)->rowHeight / 2);
    desktop.SetClipboardText("8\t\t9\n8.5\t\t9.5\n", 14);
    Key(platform::VK_CONTROL);
    Type("v");
    EXPECT_EQ(LinesOf(Column(2)), (Lines{"9", "9.5", "6", ""}));
    undo();
    EXPECT_EQ(LinesOf(Column(2)), (Lines{"4", "5", "6", ""}));
    // A block that adds rows, one cell cut to the limit and told: one step all the same.
    ClickAt(Column(0), 20, Column(0)->rowHeight * 7 / 2);
    const std::string block = "7\n" + std::string(DataCellLongest + 5, '1') + "\n";
    desktop.SetClipboardText(block.data(), uint32_t(block.size()));
    Key(platform::VK_CONTROL);
    Type("v");
    const Lines pasted = {"1", "2", "3", "7", std::string(DataCellLongest, '1')};
    EXPECT_EQ(LinesOf(Column(0)), pasted);
    ExpectMessage(main->messageWindow, NoticeText(NoticeCellCut));
    ClickAt(Column(0), 20, Column(0)->rowHeight / 2);
    undo();
    EXPECT_EQ(LinesOf(Column(0)), x);
    redo();
    EXPECT_EQ(LinesOf(Column(0)), pasted);
    undo();
    Click(main->newButton);
    EXPECT_EQ(LinesOf(Column(0)), (Lines{""}));
    EXPECT_EQ(main->GetDataPath(), "");
    Key(platform::VK_CONTROL);
    Type("z");  // the Control prefix works as the chord does
    EXPECT_EQ(LinesOf(Column(0)), x);
    EXPECT_EQ(main->GetDataPath(), Join(dades, "datos.dat"));
    EXPECT_FALSE(main->HasUnsavedRows()) << "as saved";
    redo();
    EXPECT_EQ(LinesOf(Column(2)), (Lines{""}));
    undo();

    // "Cargar" is one step too, its path with it.
    WriteFile(Join(dades, "otro.dat"), Count(1) + "5;;6;;\n");
    Click(main->loadButton);
    Answer(Chooser(), "otro.dat");
    EXPECT_EQ(LinesOf(Column(0)), (Lines{"5"}));
    EXPECT_FALSE(main->HasUnsavedRows());
    Variable loaded(Column(2)->GetLines());
    undo();
    EXPECT_EQ(LinesOf(Column(0)), x);
    EXPECT_EQ(main->GetDataPath(), Join(dades, "datos.dat"));
    redo();
    EXPECT_EQ(Column(2)->GetLines(), loaded.Get()) << "the loaded rows are kept, not copied";
    EXPECT_EQ(main->GetDataPath(), Join(dades, "otro.dat"));
    EXPECT_FALSE(main->HasUnsavedRows());
    Type("1");
    EXPECT_TRUE(main->HasUnsavedRows()) << "typing not yet confirmed counts";

    // A new change after going back: what was taken back can no longer be redone.
    undo();
    undo();
    Type("3\n");
    redo();
    EXPECT_EQ(LinesOf(Column(0)), (Lines{"31", "2", "3", ""}));
}

// A step keeps the rows it changed, never the data set: 100 edits of single cells of a
// large set cost little, and "Nuevo" puts the very lists aside.
TEST_F(MainWindowTest, TheHistoryGrowsWithTheChangesNotTheDataSet)
{
    CMainw* main = Start();
    constexpr uint32_t Rows = 200000;
    CCompactColumn x(app), ex(app), y(app), ey(app);
    for (uint32_t i = 0; i < Rows; i++) {
        std::string cell = std::to_string(i);
        x.AddLine(cell.data(), uint32_t(cell.size()));
        y.AddLine(cell.data(), uint32_t(cell.size()));
    }
    x.DeleteFirstLine();
    y.DeleteFirstLine();
    CDataColumn* set[4] = {&x, &ex, &y, &ey};
    main->ReplaceDataSet(set, "", false);
    size_t start = main->GetHistory().Bytes();
    for (int i = 0; i < 150; i++) {
        Type("9\n");
        if (i == 99) {
            EXPECT_LT(main->GetHistory().Bytes() - start, 100u * 1024);
        }
    }
    for (int i = 0; i < 150; i++)
        main->Undo();
    EXPECT_EQ(Text(Column(0)->LineAt(50)), "50") << "100 steps at least";
    EXPECT_EQ(Text(Column(0)->LineAt(49)), "949") << "no more than kept";

    Variable lines(Column(2)->GetLines());
    Click(main->newButton);
    main->Undo();
    EXPECT_EQ(Column(2)->GetLines(), lines.Get()) << "moved back, not copied";
    EXPECT_EQ(Column(2)->GetLineCount(), Rows);
}

// A large set's recovery file is written a slice per turn of the loop and replaced only
// when whole: typing in a cell lets the write go on, a change of the rows begins it
// again, and rows that keep changing get a whole write after a few tries.
TEST_F(MainWindowTest, TheRecoveryFileOfALargeSetIsWrittenInSlices)
{
    namespace fs = std::filesystem;
    window = OpenMainWindow(app, InBuild(PICTURE_FOLDER), Join(root, "estado"));
    Pump();
    CMainw* main = Main();
    main->SetRecoverySlice(0);  // batches of 1024 rows
    CCompactColumn x(app), ex(app), y(app), ey(app);
    for (uint32_t i = 0; i < 3000; i++) {
        std::string cell = std::to_string(i);
        x.AddLine(cell.data(), uint32_t(cell.size()));
    }
    x.DeleteFirstLine();
    CDataColumn* set[4] = {&x, &ex, &y, &ey};
    main->ReplaceDataSet(set, "", false);
    const fs::path own = folder_paths::FsPath(main->GetRecoveryPath());
    auto turn = [&](uint32_t milliseconds) {
        desktop.AdvanceClock(milliseconds);
        Pump();
        return fs::exists(own);
    };
    auto rows = [&] {
        std::string all = "AJUSTOR RECUPERACION 1 0\n\n" + Count(Column(0)->GetLineCount());
        for (uint32_t i = 0; i < Column(0)->GetLineCount(); i++)
            all += Text(Column(0)->LineAt(i)) + ";;;;\n";
        return all;
    };
    const std::string header = "AJUSTOR RECUPERACION 1 0\n\n";
    EXPECT_FALSE(turn(1100));
    EXPECT_FALSE(turn(1));
    Type("7");  // the write goes on
    EXPECT_TRUE(turn(1));
    EXPECT_EQ(ReadFile(own.string()).rfind(header + Count(3000) + "0;;;;\n1;;;;\n2", 0), 0u);
    for (uint32_t wait : {1100, 1, 1})
        turn(wait);
    EXPECT_EQ(ReadFile(own.string()), rows()) << "the typed cell, a delay later";

    // A confirmed cell drops the write begun; after three dropped, the next goes whole.
    const std::string before = ReadFile(own.string());
    for (uint32_t wait : {1100, 1, 1}) {
        Type("8\n");
        turn(wait);
        EXPECT_EQ(ReadFile(own.string()), before);
    }
    Type("9\n");
    turn(1);
    EXPECT_EQ(ReadFile(own.string()), rows());
    EXPECT_NE(rows(), before);
}

// The recovery file of the shown data set: written a second after a change, gone once
// saved, left when the program ends unsaved or is killed, taken over at the next start
// (the rows, their path and a message), never while its program runs.
TEST_F(MainWindowTest, TheRecoveryFileKeepsWhatIsNotSaved)
{
    namespace fs = std::filesystem;
#ifdef _WIN32
    const std::string state = Join(root, "estado");
#else
    setenv("XDG_STATE_HOME", Join(root, "estado").c_str(), 1);
    const std::string state = platform::StateFolder();
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(state, Join(Join(root, "estado"), "ajustor"));
#endif
    auto start = [&] {
        window = OpenMainWindow(app, InBuild(PICTURE_FOLDER), state);
        Pump();
        return Main();
    };
    auto later = [&] {
        desktop.AdvanceClock(1100);
        Pump();
    };
    CMainw* main = start();
    const std::string own = main->GetRecoveryPath();
    EXPECT_EQ(own, Join(state, "recuperacion-" + std::to_string(platform::ProcessId()) + ".dat"));
    later();
    EXPECT_FALSE(fs::exists(folder_paths::FsPath(own))) << "nothing typed";
    TypeColumns({{"1", "2"}, {}, {"3", "4"}});
    EXPECT_FALSE(fs::exists(folder_paths::FsPath(own))) << "not on the typing path";
    later();
    const std::string rows = Count(3) + "1;;3;;\n2;;4;;\n;;;;\n";
    EXPECT_EQ(ReadFile(own), "AJUSTOR RECUPERACION 1 0\n\n" + rows);

    // Another program sees a running owner's file and leaves it.
    {
        CRecoveryFile other(app, state, 424243);
        ASSERT_TRUE(other.Open());
        CCompactColumn x(app), ex(app), y(app), ey(app);
        CDataColumn* taken[4] = {&x, &ex, &y, &ey};
        std::string path;
        EXPECT_FALSE(other.TakeOver(taken, path));
        other.Close(false);
    }
    Click(main->saveAsButton);
    Answer(Chooser(), "datos.dat");
    later();
    EXPECT_FALSE(fs::exists(folder_paths::FsPath(own))) << "saved";
    ClickAt(Column(0), 20, Column(0)->rowHeight * 5 / 2);
    Type("5\n");
    later();
    const std::string path = Join(dades, "datos.dat");
    const std::string typed = Count(4) + "1;;3;;\n2;;4;;\n5;;;;\n;;;;\n";
    EXPECT_EQ(ReadFile(own), "AJUSTOR RECUPERACION 1 " + std::to_string(path.size()) + "\n" + path + "\n" + typed);

    // Killed: the window goes without a word. The next start, as another process,
    // takes the file over.
    window.Clear();
    const std::string orphan = Join(state, "recuperacion-424242.dat");
    fs::rename(folder_paths::FsPath(own), folder_paths::FsPath(orphan));
    main = start();
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"1", "2", "5", ""}));
    EXPECT_EQ(main->GetDataPath(), path);
    auto* message = Message(main->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetMessage(), "Se han recuperado 3 filas que no se hab\xED" "an guardado de \xAB" + path +
                                         "\xBB al terminar el programa la \xFAltima vez.");
    Click(message->acceptButton);
    EXPECT_FALSE(fs::exists(folder_paths::FsPath(orphan)));
    EXPECT_TRUE(fs::exists(folder_paths::FsPath(own)));

    // Closed unsaved: kept for the next start; saved: nothing left behind.
    main->EndRecovery();
    EXPECT_TRUE(fs::exists(folder_paths::FsPath(own)));
    window.Clear();
    main = start();
    EXPECT_EQ(LinesOf(Column(2)), (std::vector<std::string>{"3", "4", "", ""}));
    Click(main->saveButton);
    EXPECT_EQ(ReadFile(path), typed);
    main->EndRecovery();
    EXPECT_TRUE(fs::is_empty(folder_paths::FsPath(state)));
}
