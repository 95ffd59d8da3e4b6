#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/Acercade.h"
#include "graphics/CBCell.h"
#include "io/DataFile.h"
#include "tests/app/AppWindowFixture.h"
#include "toolkit/CLabel.h"
#include "toolkit/CScroller.h"
#include "toolkit/CSkinButton.h"

using platform::VK_TAB;

namespace {
std::string Count(uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

std::string CurrentDirectory() { return folder_paths::CurrentFolder(); }
}  // namespace

using MainWindowTest = AppWindowTest;

TEST_F(MainWindowTest, StartsCentredInDadesWithTheFirstColumnActive)
{
    CMainw* main = Start();
    platform::PPoint corner = FrameCorner(main);
    EXPECT_EQ(corner.x, 212);
    EXPECT_EQ(corner.y, 144);
    EXPECT_EQ(main->width, 600);
    EXPECT_EQ(main->height, 480);
    EXPECT_EQ(Title(main), "Ajustor-2  (Beta 3)");
    EXPECT_EQ(CurrentDirectory(), dades);
    EXPECT_EQ(app->activeWindow, Column(0)->GetEditor()) << "typing starts in column 1";
    EXPECT_EQ(main->GetDataPath(), "");
    const char* labels[] = {"Valores X", "Valores Y", "Errores X", "Errores Y == w"};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(Text(main->captionLabels[i].As<CLabel>()->text.As<CString>()), labels[i]);
    EXPECT_EQ(Text(main->newButton.As<CButton>()->caption.As<CString>()), "Nuevo");
    EXPECT_EQ(Column(3)->x, 468);
    EXPECT_EQ(Column(3)->width, 101);
}

TEST_F(MainWindowTest, WithoutDadesTheStartFolderStaysCurrent)
{
    std::filesystem::remove(dades);
    Start();
    EXPECT_EQ(CurrentDirectory(), root);
}

TEST_F(MainWindowTest, TabGoesRoundColumnsAndScroller)
{
    CMainw* main = Start();
    auto* scroller = main->scroller.As<CScroller>();
    EXPECT_EQ(Column(3)->nextFocus.Get(), scroller);
    EXPECT_EQ(scroller->nextFocus.Get(), Column(0));
    for (int k = 1; k < 4; k++) {
        Key(VK_TAB, 9);
        EXPECT_EQ(app->activeWindow, Column(k)->GetEditor()) << k;
    }
    // From column 4 through the scroller, which hands the keyboard on to column 1.
    Key(VK_TAB, 9);
    EXPECT_EQ(app->activeWindow, Column(0)->GetEditor());
}

TEST_F(MainWindowTest, GuardarAsksOnceThenWritesToTheSameFile)
{
    CMainw* main = Start();
    TypeColumns({{"1", "2"}, {"", ""}, {"3", "5"}});
    Click(main->saveButton);
    CFileChooser* chooser = Chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(Title(chooser), "Guardar Datos Como ...");
    Answer(chooser, "datos.dat");
    std::string path = Join(dades, "datos.dat");
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_EQ(ReadFile(path), Count(3) + "1;;3;;\n2;;5;;\n;;;;\n") << "saved exactly as typed";
    EXPECT_EQ(Message(main->messageWindow), nullptr);

    // A second "Guardar" writes at once, without a chooser.
    ClickAt(Column(0), 20, Column(0)->rowHeight / 2);
    Key(platform::VK_END);
    Type("7\n");
    Click(main->saveButton);
    EXPECT_EQ(Chooser(), chooser) << "no new chooser";
    EXPECT_FALSE(chooser->visible);
    EXPECT_EQ(ReadFile(path).substr(4, 7), "17;;3;;");
}

TEST_F(MainWindowTest, AfterCargarGuardarWritesBackAndCancelKeepsThePath)
{
    WriteFile(Join(dades, "medidas.dat"), Count(2) + "1;0.1;2;0.2;\n2;0.1;4;0.2;\n");
    CMainw* main = Start();
    Click(main->loadButton);
    ASSERT_NE(Chooser(), nullptr);
    EXPECT_EQ(Title(Chooser()), "Cargar Datos ...");
    Answer(Chooser(), "medidas.dat");
    std::string path = Join(dades, "medidas.dat");
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(LinesOf(Column(3)), (std::vector<std::string>{"0.2", "0.2"}));
    EXPECT_EQ(app->activeWindow, Column(0)->GetEditor());

    Type("9");
    Click(main->saveButton);
    EXPECT_EQ(ReadFile(path), Count(2) + "91;0.1;2;0.2;\n2;0.1;4;0.2;\n");

    // A chooser given up changes nothing.
    Click(main->saveAsButton);
    Answer(Chooser(), "otro.dat", false);
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_FALSE(std::filesystem::exists(Join(dades, "otro.dat")));
    Click(main->loadButton);
    Answer(Chooser(), "otro.dat", false);
    EXPECT_EQ(main->GetDataPath(), path);
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"91", "2"}));

    // "Nuevo" empties the columns and forgets the file.
    Click(main->newButton);
    EXPECT_EQ(main->GetDataPath(), "");
    for (int k = 0; k < 4; k++)
        EXPECT_EQ(LinesOf(Column(k)), (std::vector<std::string>{""}));
    EXPECT_EQ(app->activeWindow, Column(0)->GetEditor());
}

TEST_F(MainWindowTest, AConfirmedNameIsAbsoluteAtOnce)
{
    CMainw* main = Start();
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

    // In the root ("/", "C:\"), a name gets no doubled separator.
    const std::string top = folder_paths::RootOf(root);
    Click(main->saveAsButton);
    Key(platform::VK_ESCAPE, 27);
    Type(top);
    Key(platform::VK_RETURN, 13);
    ASSERT_EQ(CurrentDirectory(), top);
    Click(Chooser()->cancelButton);
    Click(main->loadButton);
    Answer(Chooser(), "no-existe-en-la-raiz.dat");
    auto* message = Message(main->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetMessage(),
              "No se pudo cargar \xAB" + top + "no-existe-en-la-raiz.dat\xBB: No existe el archivo o el directorio");
    EXPECT_EQ(main->GetDataPath(), Join(dades, "a.dat")) << "a failed load keeps the path";
}

TEST_F(MainWindowTest, AccentedNamesAreSystemNamesAndStandInsAreRefused)
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

    // A stand-in byte: the name it stood for is unknown, so nothing is written.
    Click(main->saveAsButton);
    Answer(Chooser(), "a\x81" "b.dat");
    auto* message = Message(main->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_NE(message->GetMessage().find("no se pueden representar"), std::string::npos);
    EXPECT_EQ(main->GetDataPath(), Join(dades, "medici\xF3n.dat"));
}

TEST_F(MainWindowTest, FailuresAreToldInAMessageWindow)
{
    CMainw* main = Start();
    TypeColumns({{"1", "2"}});
    auto expectMessage = [&](const std::string& text) {
        auto* message = Message(main->messageWindow);
        ASSERT_NE(message, nullptr) << text;
        EXPECT_EQ(message->GetMessage(), text);
        EXPECT_EQ(Title(message), "Aviso");
        EXPECT_EQ(app->activeWindow, message->acceptButton.Get()) << "Enter closes it";
        Click(message->acceptButton);
        EXPECT_FALSE(message->visible);
    };
    // Text on the clipboard that cannot be read: nothing pasted, and a word about it.
    desktop.BreakClipboard();
    Key(platform::VK_CONTROL);
    Type("v");
    expectMessage("No se pudo pegar el portapapeles");
    Click(main->saveAsButton);
    Answer(Chooser(), Join("falta", "datos.dat"));
    expectMessage("No se pudo guardar \xAB" + Join(Join(dades, "falta"), "datos.dat") +
                  "\xBB: No existe el archivo o el directorio");
    EXPECT_EQ(main->GetDataPath(), "");

    std::filesystem::create_directory(Join(dades, "carpeta"));
    Click(main->loadButton);
    Answer(Chooser(), "carpeta");
    expectMessage("No se pudo cargar \xAB" + Join(dades, "carpeta") + "\xBB: Es un directorio");
    EXPECT_EQ(LinesOf(Column(0)), (std::vector<std::string>{"1", "2", ""})) << "a failed paste or load changes nothing";

    // A file that claims more rows than it holds: what is there, and a word about it.
    const std::string corto = Join(dades, "corto.dat");
    WriteFile(corto, Count(5) + "7;;8;;\n9;;10;;\n");
    Click(main->loadButton);
    Answer(Chooser(), "corto.dat");
    expectMessage("\xAB" + corto +
                  "\xBB anuncia 5 filas pero solo contiene 2 filas: se ha cargado lo que "
                  "hay. El archivo est\xE1 incompleto o no es un archivo de datos.");
    EXPECT_EQ(LinesOf(Column(2)), (std::vector<std::string>{"8", "10"}));
    EXPECT_EQ(main->GetDataPath(), "") << "\"Guardar\" must not write over a damaged file";
}

TEST_F(MainWindowTest, AFullDeviceIsTold)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no device that is always full (/dev/full)";
#else
    CMainw* main = Start();
    TypeColumns({{"1", "2"}});
    Click(main->saveAsButton);
    Answer(Chooser(), "/dev/full");
    auto* message = Message(main->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetMessage(), "No se pudo guardar \xAB/dev/full\xBB: No queda espacio en el dispositivo");
    EXPECT_EQ(Title(message), "Aviso");
    EXPECT_EQ(app->activeWindow, message->acceptButton.Get()) << "Enter closes it";
    Click(message->acceptButton);
    EXPECT_FALSE(message->visible);
#endif
}

// Permissions bind only users without the superuser's rights: under root this part
// runs in a child that has become "nobody"; it exits 0 when all went as expected. On
// Windows, where a save replaces the file whatever its folder allows, a read-only file
// is the one kept.
TEST_F(MainWindowTest, AReadOnlyFolderIsToldAndTheOldFileKept)
{
    CMainw* main = Start();
    WriteFile(Join(dades, "viejo.dat"), "old");
#ifdef _WIN32
    // Without write permission the C library marks the file read-only.
    namespace fs = std::filesystem;
    const fs::path old = folder_paths::FsPath(Join(dades, "viejo.dat"));
    fs::permissions(old, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ASSERT_FALSE((fs::status(old).permissions() & fs::perms::owner_write) != fs::perms::none);
    TypeColumns({{"1"}});
    Click(main->saveAsButton);
    Answer(Chooser(), "viejo.dat");
    auto* message = Message(main->messageWindow);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetMessage(), "No se pudo guardar \xAB" + Join(dades, "viejo.dat") + "\xBB: Permiso denegado");
    EXPECT_EQ(main->GetDataPath(), "");
    fs::permissions(old, fs::perms::owner_write, fs::perm_options::add);
#else
    chmod(dades.c_str(), 0555);
    chmod(root.c_str(), 0755);
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(10);
        TypeColumns({{"1"}});
        Click(main->saveAsButton);
        Answer(Chooser(), "viejo.dat");
        auto* message = Message(main->messageWindow);
        std::string expected = "No se pudo guardar \xAB" + Join(dades, "viejo.dat") + "\xBB: Permiso denegado";
        bool told = message && message->GetMessage() == expected;
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

TEST_F(MainWindowTest, TheAboutWindowIsCentredAndReplacedCleanly)
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
}

TEST_F(MainWindowTest, MissingPicturesLeaveEveryWindowUsable)
{
    CMainw* main = Start(Join(root, "sin-imagenes"));
    TypeColumns({{"1", "2", "3"}, {}, {"2", "4", "6"}, {"1", "1", "1"}});
    Click(main->simpleButton);
    ASSERT_NE(main->resultWindow.CheckedAs<CBasicWindow>(), nullptr);
    EXPECT_TRUE(main->resultWindow.CheckedAs<CBasicWindow>()->visible);
    CloseResult();
    Click(main->weightedButton);
    EXPECT_TRUE(main->resultWindow.CheckedAs<CBasicWindow>()->visible);
    CloseResult();
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
    CMainw* again = Start(Join(root, "rotas"));
    TypeColumns({{"1", "2"}, {}, {"2", "4"}});
    Click(again->simpleButton);
    EXPECT_TRUE(again->resultWindow.CheckedAs<CBasicWindow>()->visible);
}
