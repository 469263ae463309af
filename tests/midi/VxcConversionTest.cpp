#include "midi/VxcConversion.h"

#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace toneloft {
namespace {

using test::ScriptedUi;
using test::TempDir;
namespace fs = std::filesystem;

// A stand-in for the converter: records what it was asked and, when told to,
// acts while the conversion waits (from the fake clock).
class FakeProcess : public ConverterProcess {
public:
    bool startable = true;
    std::vector<std::string> programs, directories;
    int stops = 0;
    std::function<void()> onStart;

    bool start(const std::string& program, const std::string& workingDirectory) override
    {
        programs.push_back(program);
        directories.push_back(workingDirectory);
        if (startable && onStart)
            onStart();
        return startable;
    }
    void stopAndRelease() override { ++stops; }
};

// A type 3 file of the given number of banks: bank messages with blank voices.
std::string bankFile(int banks)
{
    std::string bank(4104, '\0');
    bank[0] = '\xF0';
    bank[1] = '\x43';
    bank[3] = '\x09';
    bank[4] = '\x20';
    bank[4103] = '\xF7';
    std::string out;
    for (int i = 0; i < banks; ++i)
        out += bank;
    return out;
}

// The start of an SY77 voice message: F0 43, then its type name at offset 6.
std::string syVoiceMessage()
{
    std::string sy(466, '\0');
    sy[0] = '\xF0';
    sy[1] = '\x43';
    sy.replace(6, 10, "LM  8101VC");
    return sy;
}

std::string fifthLine(const std::string& path)
{
    const std::string text = TempDir::read(path);
    std::size_t at = 0;
    for (int i = 0; i < 4; ++i)
        at = text.find("\r\n", at) + 2;
    return text.substr(at, text.find("\r\n", at) - at);
}

struct Rig {
    TempDir program; // the program directory: vxc.ini is written here
    TempDir data;
    ScriptedUi ui;
    FakeProcess process;
    VxcConversion conversion{ui, process, program.folder()};
};

TEST(VxcIni, WrittenLineForLineWithCrLf)
{
    TempDir dir;
    const std::string path = dir.file("vxc.ini");
    ASSERT_TRUE(Build_VXCini(path, 1, 3, "/home/me/ROM1A.SYX", "/home/me/OUT.001"));
    const std::string expected =
        "output file type=1\r\n"
        "input file type=3\r\n"
        "input file name=/home/me/ROM1A.SYX\r\n"
        "output file name=/home/me/OUT.001\r\n"
        "last exit code=6\r\n"
        "\r\n"
        "Note: the following information explains the above settings\r\n"
        "\r\n"
        "You can edit the settings if you are using VXC as a standalone application\r\n"
        "but you are strongly advised to backup important files before editing the settings\r\n"
        "\r\n"
        "Format of VXC.ini file\r\n"
        "\r\n"
        "Output file type : 0 for single file output,1 for multiple. \r\n"
        "Input file type : this specifies the type of voice data contained in the DX7 format file :\r\n"
        "\r\n"
        "  0: voices are unpacked - without headers   :155 bytes per voice , 4960 bytes per bank of 32 voices\r\n"
        "  1: voices are unpacked -    with headers   :163 bytes per voice , 5216 bytes per bank of 32 voices\r\n"
        "  2: voices are packed   -  without headers  :128 bytes per voice , 4096 bytes per bank of 32 voices\r\n"
        "  3: voices are packed   -      with header  :128 bytes per voice , 4104 bytes per bank of 32 voices (128*32)+ 8\r\n"
        "\r\n"
        "  VXC recognises type 0-2  DX7 files that have any number of voices, but will only recognise\r\n"
        "  type 3 files that contain an exact multiple of 32 voices, ie 4104 bytes.\r\n"
        "\r\n"
        "Input File Name : the full filename in 8.3 format - no quotes.\r\n"
        "Output File Name : the full filename in 8.3 format - no quotes.\r\n"
        "\r\n"
        "Exit codes are set when VXC completes as follows :\r\n"
        "0  VXC completed with no errors\r\n"
        "1  VXC couldn't find or open vxc.ini\r\n"
        "2  VXC couldn't get the source or output filename from vxc.ini\r\n"
        "3  VXC couldn't find syinit.dat file\r\n"
        "4  VXC couldn't open source or dest file\r\n"
        "5  An error occured whilst VXC was converting voices\r\n"
        "The following code indicates Sonolith could not locate or load VXC :\r\n"
        "6  Error locating or loading VXC.com\r\n";
    EXPECT_EQ(TempDir::read(path), expected);
}

struct ExitCase {
    std::string line;
    std::string message;
};

class VxcExitCode : public ::testing::TestWithParam<ExitCase> {};

TEST_P(VxcExitCode, FifthLineGivesTheBox)
{
    TempDir dir;
    const std::string path =
        dir.write("vxc.ini", "output file type=0\r\ninput file type=3\r\ninput file name=a\r\n"
                             "output file name=b\r\n" + GetParam().line + "\r\n\r\nNote\r\n");
    ScriptedUi ui;
    GetVXCExitCode(ui, path);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, GetParam().message);
    EXPECT_EQ(ui.boxes[0].title, "VXC Conversion Failed");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, VxcExitCode,
    ::testing::Values(
        ExitCase{"last exit code=0", "Conversion succeeded - all voices converted"},
        ExitCase{"last exit code=1", "Conversion failed - couldn't find or open vxc.ini"},
        ExitCase{"last exit code=2", "Conversion failed - couldn't get source or output filename from vxc.ini"},
        ExitCase{"last exit code=3", "Conversion failed - couldn't find syinit.dat file"},
        ExitCase{"last exit code=4", "Conversion failed - couldn't open source or destination file"},
        ExitCase{"last exit code=5", "Conversion failed - an error occured whilst converting voices"},
        ExitCase{"last exit code=6", "Conversion failed - VXC couldn't be located or loaded"},
        ExitCase{"last exit code=9", "Conversion failed - invalid exit code (9)"},
        ExitCase{"last exit code=-1", "Conversion failed - invalid exit code (-1)"},
        ExitCase{"last exit code 4", "Conversion failed - unknown error"},
        ExitCase{"", "Conversion failed - unknown error"}));

TEST(VxcExitCodeFile, ShortFileHasNoFifthLine)
{
    TempDir dir;
    ScriptedUi ui;
    GetVXCExitCode(ui, dir.write("vxc.ini", "output file type=0\r\n"));
    GetVXCExitCode(ui, dir.file("missing.ini"));
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "Conversion failed - unknown error");
    EXPECT_EQ(ui.boxes[1].text, "Conversion failed - unknown error");
}

struct LengthCase {
    int type;
    std::size_t length;
    int lastOutputNumber;
};

class VxcLastOutput : public ::testing::TestWithParam<LengthCase> {};

TEST_P(VxcLastOutput, TwoBanksPerOutputFile)
{
    TempDir dir;
    const auto& c = GetParam();
    std::string bytes = c.type == 3 ? bankFile(static_cast<int>(c.length / 4104)) : std::string(c.length, '\x01');
    const std::string path = dir.write("SRC.DAT", bytes);
    ScriptedUi ui;
    int type = -9;
    int last = -9;
    EXPECT_EQ(GetDXFileType(ui, path, 1, type, last), c.type);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(last, c.lastOutputNumber);
    EXPECT_TRUE(ui.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Lengths, VxcLastOutput,
                         ::testing::Values(LengthCase{3, 4104, 0}, LengthCase{3, 12312, 1},
                                           LengthCase{3, 8208, 0}, LengthCase{3, 16416, 1},
                                           LengthCase{0, 4960, 0}, LengthCase{0, 155 * 65, 1},
                                           LengthCase{2, 4096 * 5, 2}, LengthCase{1, 163, 0}));

TEST(VxcFileType, NotDxAndSyFilesAreNegative)
{
    TempDir dir;
    ScriptedUi ui;
    int type = 0;
    int last = 7;
    EXPECT_EQ(GetDXFileType(ui, dir.file("none.dat"), 1, type, last), -1);
    EXPECT_EQ(GetDXFileType(ui, dir.write("odd.dat", std::string(100, 'x')), 1, type, last), -3);
    EXPECT_EQ(GetDXFileType(ui, dir.write("sy.syx", syVoiceMessage()), 1, type, last), -5);
    EXPECT_EQ(type, -5);
    EXPECT_EQ(last, 7);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(VxcSubDirs, FoundIgnoringCaseFilesSkipped)
{
    TempDir dir;
    fs::create_directory(dir.path() / "DATA");
    dir.write("Voices", "x");
    bool found = false;
    EXPECT_TRUE(FindSubDirs(dir.folder(), "data", found));
    EXPECT_TRUE(found);
    EXPECT_TRUE(FindSubDirs(dir.folder(), "voices", found));
    EXPECT_FALSE(found);
    EXPECT_TRUE(FindSubDirs(dir.folder(), "..", found));
    EXPECT_FALSE(found);
    EXPECT_FALSE(FindSubDirs(dir.file("nowhere"), "data", found));
    EXPECT_FALSE(found);
}

TEST(VxcText, InterpretationRules)
{
    const std::vector<std::string> files{"ROM1A.SYX", "a*b.dat"};
    using K = VxcTextAction::Kind;
    EXPECT_EQ(InterpretVxcText("ROM1A.SYX", files, "/d/", 0).kind, K::TakeFile);
    EXPECT_EQ(InterpretVxcText("a*b.dat", files, "/d/", 0).kind, K::TakeFile);
    const auto pattern = InterpretVxcText("*.syx", files, "/d/", 0);
    EXPECT_EQ(pattern.kind, K::SetPattern);
    EXPECT_EQ(pattern.pattern, "*.syx");
    EXPECT_EQ(InterpretVxcText("ROM?.SYX", files, "/d/", 1).kind, K::SetPattern);
    EXPECT_EQ(InterpretVxcText("media:", files, "/d/", 0).kind, K::ChangePlace);
    const auto folder = InterpretVxcText("sub/x/../NEW.DAT", files, "/d/", 0);
    EXPECT_EQ(folder.kind, K::ChangeFolder);
    EXPECT_EQ(folder.folder, "/d/sub/");
    EXPECT_EQ(folder.file, "NEW.DAT");
    const auto absolute = InterpretVxcText("/tmp/", files, "/d/", 1);
    EXPECT_EQ(absolute.folder, "/tmp/");
    EXPECT_EQ(absolute.file, "");
    EXPECT_EQ(InterpretVxcText("OTHER.DAT", files, "/d/", 0).kind, K::OpenSelectedFolder);
    EXPECT_EQ(InterpretVxcText("OUT.DAT", files, "/d/", 1).kind, K::TakeFile);
    EXPECT_EQ(InterpretVxcText("", files, "/d/", 1).kind, K::OpenSelectedFolder);
}

TEST(VxcSteps, SourceAcceptedThenCancelReturnsToStepZero)
{
    Rig r;
    r.data.write("ROM1A.SYX", bankFile(1));
    EXPECT_EQ(r.conversion.instruction(), kVxcStep0Text);
    EXPECT_EQ(r.conversion.filePattern(), "*.dat;*.syx;*.32;*.dx7");
    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM1A.SYX"));
    EXPECT_EQ(r.conversion.step(), 1);
    EXPECT_EQ(r.conversion.instruction(), "2. Select or type in the title of the output file, then click OK");
    EXPECT_EQ(r.conversion.sourceText(), r.data.file("ROM1A.SYX"));
    EXPECT_TRUE(r.conversion.optionsEnabled());
    EXPECT_EQ(r.conversion.textBoxText(), "*.dat");
    r.conversion.Reset();
    EXPECT_EQ(r.conversion.step(), 0);
    EXPECT_EQ(r.conversion.sourceText(), "");
    EXPECT_FALSE(r.conversion.optionsEnabled());
    EXPECT_EQ(r.conversion.instruction(),
              "1. Select or type in the title of a file containing DX7 voices, then click OK");
    EXPECT_TRUE(r.process.programs.empty());
}

TEST(VxcSteps, NonDxSourceSilentlyStaysAtStepZero)
{
    Rig r;
    r.data.write("NOTES.DAT", "hello");
    EXPECT_FALSE(r.conversion.TakeSourceFile(r.data.folder(), "NOTES.DAT"));
    EXPECT_FALSE(r.conversion.TakeSourceFile(r.data.folder(), "MISSING.DAT"));
    EXPECT_EQ(r.conversion.step(), 0);
    EXPECT_TRUE(r.ui.boxes.empty());
}

TEST(VxcSteps, LongFolderRefused)
{
    Rig r;
    std::string deep = r.data.folder() + std::string(60, 'f') + "/";
    fs::create_directories(deep);
    std::ofstream(deep + "ROM1A.SYX", std::ios::binary) << bankFile(1);
    EXPECT_FALSE(r.conversion.TakeSourceFile(deep, "ROM1A.SYX"));
    ASSERT_EQ(r.ui.boxes.size(), 1u);
    EXPECT_EQ(r.ui.boxes[0].text, "The pathname is too long for VXC to process. Select/define a shorter path");
    EXPECT_EQ(r.ui.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(r.conversion.step(), 0);
}

TEST(VxcSteps, SameSourceAndOutputRefused)
{
    Rig r;
    const std::string src = r.data.write("ROM1A.SYX", bankFile(1));
    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM1A.SYX"));
    r.ui.answers.push_back(MsgResult::Yes); // overwrite the DX7 file: yes
    r.conversion.TakeOutputFile(r.data.folder(), "ROM1A.SYX", 0);
    ASSERT_EQ(r.ui.boxes.size(), 2u);
    EXPECT_EQ(r.ui.boxes[0].title, "DX7 Voice File");
    EXPECT_EQ(r.ui.boxes[1].text, "Can't convert to same file name - try again");
    EXPECT_EQ(r.conversion.step(), 0);
    EXPECT_TRUE(r.process.programs.empty());
    EXPECT_EQ(TempDir::read(src), bankFile(1));
    EXPECT_FALSE(fs::exists(r.program.file("vxc.ini")));
}

TEST(VxcSteps, ExistingFilesAskBeforeBeingReplaced)
{
    Rig r;
    r.data.write("ROM1A.SYX", bankFile(1));
    const std::string dx = r.data.write("OTHER.DAT", bankFile(1));
    const std::string sy = syVoiceMessage();
    const std::string syFile = r.data.write("SY.SYX", sy);

    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM1A.SYX"));
    r.ui.answers.push_back(MsgResult::No);
    r.conversion.TakeOutputFile(r.data.folder(), "OTHER.DAT", 0);
    ASSERT_EQ(r.ui.boxes.size(), 1u);
    EXPECT_EQ(r.ui.boxes[0].text,
              "This file already exists and appears to contain DX7 voices.\r\nAre you sure you want to overwrite this file ?");
    EXPECT_EQ(r.ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(r.ui.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(TempDir::read(dx), bankFile(1));

    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM1A.SYX"));
    r.ui.answers.push_back(MsgResult::No);
    r.conversion.TakeOutputFile(r.data.folder(), "SY.SYX", 0);
    ASSERT_EQ(r.ui.boxes.size(), 2u);
    EXPECT_EQ(r.ui.boxes[1].text, "The file you have chosen contains SYxx voices. Do you want to replace it ? ");
    EXPECT_EQ(r.ui.boxes[1].title, "Update voice file ?");
    EXPECT_EQ(r.ui.boxes[1].icon, MsgIcon::Question);
    EXPECT_EQ(TempDir::read(syFile), sy);
    EXPECT_TRUE(r.process.programs.empty());
    EXPECT_EQ(r.conversion.step(), 0);
}

TEST(VxcRun, MissingConverterEndsAfterTheTimeLimitWithCodeSix)
{
    Rig r;
    r.data.write("ROM1A.SYX", bankFile(1));
    r.process.startable = false;
    r.ui.tickMs = 7;
    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM1A.SYX"));
    r.conversion.TakeOutputFile(r.data.folder(), "OUT.SYX", 0);

    ASSERT_EQ(r.process.programs.size(), 1u);
    EXPECT_EQ(r.process.programs[0], r.program.file("vxc"));
    EXPECT_EQ(r.process.directories[0], r.program.folder());
    EXPECT_GE(r.conversion.elapsedMs(), 5000);
    EXPECT_LE(r.conversion.elapsedMs(), 5000 + 3 * 7); // a look may fall in the last step
    ASSERT_EQ(r.ui.boxes.size(), 1u);
    EXPECT_EQ(r.ui.boxes[0].text, "Conversion failed - VXC couldn't be located or loaded");
    EXPECT_EQ(r.ui.boxes[0].title, "VXC Conversion Failed");
    EXPECT_FALSE(fs::exists(r.data.file("OUT.SYX")));
    EXPECT_TRUE(r.ui.sawStatus(" Please wait while your DX7 voices are converted.  "));
    // The first look comes at the first 7 ms step past 50 ms.
    EXPECT_TRUE(r.ui.sawStatus("0.06 secs elapsed. " + r.data.file("OUT.SYX") + " is now 0.0 kb  "));
    EXPECT_EQ(r.ui.busyDepth, 0);
    EXPECT_EQ(r.conversion.step(), 0);
}

TEST(VxcRun, ConverterExitCodeReportedWhenNoOutputAppears)
{
    Rig r;
    r.data.write("ROM1A.SYX", bankFile(1));
    r.process.onStart = [&] {
        std::string ini = TempDir::read(r.program.file("vxc.ini"));
        ini.replace(ini.find("last exit code=6"), 16, "last exit code=4");
        r.program.write("vxc.ini", ini);
    };
    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM1A.SYX"));
    r.conversion.TakeOutputFile(r.data.folder(), "OUT.SYX", 0);
    ASSERT_EQ(r.ui.boxes.size(), 1u);
    EXPECT_EQ(r.ui.boxes[0].text, "Conversion failed - couldn't open source or destination file");
    EXPECT_EQ(r.process.stops, 1);
}

TEST(VxcRun, OutputSeenTwiceAtOneSizeIsSuccess)
{
    Rig r;
    r.data.write("ROM1A.SYX", bankFile(1));
    const std::string out = r.data.file("OUT.SYX");
    r.data.write("OUT.SYX", "stale"); // an old output is deleted before the run
    r.process.onStart = [&] {
        EXPECT_FALSE(fs::exists(out));
        r.ui.onEvents = [&](ScriptedUi& ui) {
            if (ui.now == 120)
                r.data.write("OUT.SYX", std::string(14912, 'x'));
        };
    };
    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM1A.SYX"));
    r.ui.answers.push_back(MsgResult::Yes);
    r.conversion.TakeOutputFile(r.data.folder(), "OUT.SYX", 0);

    EXPECT_EQ(fifthLine(r.program.file("vxc.ini")), "last exit code=6");
    const std::string ini = TempDir::read(r.program.file("vxc.ini"));
    EXPECT_NE(ini.find("input file name=" + r.data.file("ROM1A.SYX") + "\r\n"), std::string::npos);
    EXPECT_NE(ini.find("output file name=" + out + "\r\n"), std::string::npos);
    EXPECT_EQ(ini.substr(0, 39), "output file type=0\r\ninput file type=3\r\n");
    ASSERT_FALSE(r.ui.boxes.empty());
    const auto& box = r.ui.lastBox();
    EXPECT_EQ(box.text, "VXC created  SY77 format file : " + out + " (  14912 bytes )");
    EXPECT_EQ(box.title, "File conversion complete");
    EXPECT_EQ(box.icon, MsgIcon::None);
    EXPECT_TRUE(r.ui.sawStatus("ROM1A.SYX converted to SY77 format file : " + out + " (  14912 bytes )  "));
    // Seen at the tick after 120 ms, then unchanged 50 ms later.
    EXPECT_LE(r.conversion.elapsedMs(), 250);
    EXPECT_EQ(r.process.stops, 1);
    EXPECT_EQ(r.conversion.step(), 0);
    EXPECT_EQ(r.conversion.filePattern(), "*.dat;*.syx;*.32;*.dx7");
}

TEST(VxcRun, SeveralFilesDeleteEveryNumberAndWatchTheLast)
{
    Rig r;
    r.data.write("ROM.SYX", bankFile(3)); // three banks: two output files, 000 and 001
    for (const char* n : {"OUT.000", "OUT.001", "OUT.500", "OUT.999"})
        r.data.write(n, "old");
    r.data.write("OUT.1000", "kept");
    r.data.write("OUT.DAT", "kept");
    r.process.onStart = [&] {
        for (const char* n : {"OUT.000", "OUT.001", "OUT.500", "OUT.999"})
            EXPECT_FALSE(fs::exists(r.data.file(n))) << n;
        r.data.write("OUT.000", std::string(29824, 'x'));
        r.data.write("OUT.001", std::string(14912, 'x'));
    };
    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM.SYX"));
    EXPECT_EQ(r.conversion.lastOutputNumber(), 1);
    r.conversion.TakeOutputFile(r.data.folder(), "OUT.DAT", 1);

    ASSERT_FALSE(r.ui.boxes.empty());
    EXPECT_EQ(r.ui.lastBox().text, "VXC created  multiple SY77 format files ");
    EXPECT_NE(TempDir::read(r.program.file("vxc.ini")).find("output file name=" + r.data.file("OUT.001") + "\r\n"),
              std::string::npos);
    EXPECT_EQ(TempDir::read(r.data.file("OUT.DAT")), "kept");
    EXPECT_EQ(TempDir::read(r.data.file("OUT.1000")), "kept");
    EXPECT_EQ(r.conversion.filePattern(), "*.*");
    EXPECT_EQ(r.conversion.textBoxText(), "*.*");
}

TEST(VxcRun, OutputBoxNamesTheNumberedFiles)
{
    Rig r;
    r.data.write("ROM.SYX", bankFile(1));
    ASSERT_TRUE(r.conversion.TakeSourceFile(r.data.folder(), "ROM.SYX"));
    std::string shown;
    r.process.onStart = [&] { shown = r.conversion.outputText(); };
    r.conversion.TakeOutputFile(r.data.folder(), "OUT.DAT", 1);
    EXPECT_EQ(shown, r.data.folder() + "OUT.001,002 etc. Multiple output files");
    EXPECT_EQ(r.conversion.outputText(), "");
}

} // namespace
} // namespace toneloft
