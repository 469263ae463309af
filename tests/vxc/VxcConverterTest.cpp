#include "vxc/Converter.h"
#include "vxc/VoiceConverter.h"

#include "midi/VxcConversion.h"
#include "support/Corpus.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/wait.h>

namespace toneloft {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

constexpr std::size_t kMessage = 466;

fs::path templatePath()
{
    return fs::path(TONELOFT_VXC_PATH).parent_path() / "syinit.dat";
}

vxc::SyVoice loadTemplate()
{
    const std::string t = TempDir::read(templatePath().string());
    vxc::SyVoice v{};
    EXPECT_EQ(t.size(), kMessage);
    std::copy(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(std::min(t.size(), kMessage)), v.begin());
    return v;
}

// A DX7 voice (unpacked) whose operators carry their own number in the coarse
// frequency (10 + op), so they can be found again after renumbering.
std::array<std::uint8_t, 155> dxVoice(int algorithm, int feedback, const std::string& name = "TEST VOICE")
{
    std::array<std::uint8_t, 155> v{};
    for (int op = 1; op <= 6; ++op) {
        std::uint8_t* o = v.data() + (6 - op) * 21;
        for (int i = 0; i < 4; ++i) {
            o[i] = 99;
            o[4 + i] = 99;
        }
        o[7] = 0;
        o[16] = 99;
        o[18] = static_cast<std::uint8_t>(10 + op);
        o[20] = 7;
    }
    v[134] = static_cast<std::uint8_t>(algorithm - 1);
    v[135] = static_cast<std::uint8_t>(feedback);
    v[144] = 24;
    for (std::size_t i = 0; i < 10; ++i)
        v[145 + i] = static_cast<std::uint8_t>(i < name.size() ? name[i] : ' ');
    return v;
}

const std::uint8_t* syOp(const vxc::SyVoice& sy, int op)
{
    return sy.data() + 107 + (6 - op) * 45;
}

void expectValidMessage(std::span<const std::uint8_t> m, int memoryNumber)
{
    ASSERT_EQ(m.size(), kMessage);
    EXPECT_EQ(m[0], 0xF0);
    EXPECT_EQ(m[1], 0x43);
    EXPECT_EQ(m[3], 0x7A);
    // Byte count: from offset 6 to the last data byte (463), 458 = 03 4A.
    EXPECT_EQ(m[4] * 128 + m[5], 458);
    EXPECT_EQ(std::string(m.begin() + 6, m.begin() + 16), "LM  8101VC");
    EXPECT_EQ(m[30], 0x00);
    EXPECT_EQ(m[31], memoryNumber);
    EXPECT_EQ(m[32], 3); // 1AFM poly
    unsigned sum = 0;
    for (std::size_t i = 6; i <= 464; ++i)
        sum += m[i];
    EXPECT_EQ(sum % 128, 0u) << "checksum";
    EXPECT_EQ(m[465], 0xF7);
    for (std::size_t i = 1; i < 465; ++i)
        EXPECT_LT(m[i], 0x80) << "byte " << i;
}

struct AlgorithmCase {
    int dx;
    std::set<int> sy;           // the SY77 preset, or the presets the table allows
    std::array<int, 7> ops;     // SY operator of each DX7 operator; all zero when the table gives none
    std::set<int> carriers;     // in SY numbering; empty for the nearest presets
    int feedbackSyOperator;     // 0 for the nearest presets
};

constexpr std::array<int, 7> S{0, 1, 2, 3, 4, 5, 6};
constexpr std::array<int, 7> R7{0, 1, 2, 3, 6, 4, 5};
constexpr std::array<int, 7> R16{0, 1, 6, 2, 3, 4, 5};
constexpr std::array<int, 7> R18{0, 1, 5, 6, 2, 3, 4};
constexpr std::array<int, 7> R19{0, 4, 5, 6, 1, 2, 3};
constexpr std::array<int, 7> NONE{};

class AlgorithmTable : public ::testing::TestWithParam<AlgorithmCase> {};

TEST_P(AlgorithmTable, PresetOperatorsAndRouting)
{
    const auto& c = GetParam();
    std::vector<std::string> notes;
    const vxc::SyVoice sy = vxc::ConvertVoice(dxVoice(c.dx, 5), loadTemplate(), 7, notes);
    expectValidMessage(sy, 7);
    EXPECT_TRUE(c.sy.count(sy[377] + 1)) << "SY77 algorithm " << sy[377] + 1;

    // Every DX7 operator lands in one SY77 operator, as the table renumbers them.
    std::set<int> seen;
    for (int dxOp = 1; dxOp <= 6; ++dxOp) {
        int found = 0;
        for (int s = 1; s <= 6; ++s)
            if (syOp(sy, s)[43] == 10 + dxOp)
                found = s;
        ASSERT_NE(found, 0) << "DX7 op" << dxOp;
        seen.insert(found);
        if (c.ops != NONE) {
            EXPECT_EQ(found, c.ops[static_cast<std::size_t>(dxOp)]) << "DX7 op" << dxOp;
        }
    }
    EXPECT_EQ(seen.size(), 6u);

    bool nearest = false;
    for (const auto& n : notes)
        nearest |= n.find("nearest preset") != std::string::npos;
    EXPECT_EQ(nearest, c.carriers.empty());
    if (c.carriers.empty())
        return;

    // Carriers go to the accumulator, with the correction for their count.
    static constexpr int correction[7] = {0, 0, 1, 3, 4, 5, 6};
    for (int s = 1; s <= 6; ++s) {
        const bool carrier = c.carriers.count(s) != 0;
        EXPECT_EQ((syOp(sy, s)[21] & 0x04) != 0, carrier) << "SY op" << s;
        EXPECT_EQ(syOp(sy, s)[23], carrier ? correction[c.carriers.size()] : 0) << "SY op" << s;
    }
    // Feedback: an input reading a feedback register (6..8), shifted by 5.
    const std::uint8_t* fb = syOp(sy, c.feedbackSyOperator);
    const int in0 = fb[20] & 0x0F;
    const int in1 = ((fb[19] & 1) << 3) | ((fb[20] >> 4) & 0x07);
    const bool onIn0 = in0 >= 6 && in0 <= 8;
    const bool onIn1 = in1 >= 6 && in1 <= 8;
    ASSERT_TRUE(onIn0 || onIn1) << "no feedback input on SY op" << c.feedbackSyOperator;
    EXPECT_EQ(onIn0 ? (fb[22] & 0x07) : ((fb[22] >> 3) & 0x07), 5);
    // The register it reads is the one the operator writes.
    EXPECT_EQ((fb[21] & 0x03), (onIn0 ? in0 : in1) - 5);
}

INSTANTIATE_TEST_SUITE_P(
    AllDx7, AlgorithmTable,
    ::testing::Values(
        AlgorithmCase{1, {30}, S, {1, 3}, 6}, AlgorithmCase{2, {30}, S, {1, 3}, 2},
        AlgorithmCase{3, {34}, S, {1, 4}, 6}, AlgorithmCase{4, {34}, S, {1, 4}, 6},
        AlgorithmCase{5, {42}, S, {1, 3, 5}, 6}, AlgorithmCase{6, {42}, S, {1, 3, 5}, 6},
        AlgorithmCase{7, {32}, R7, {1, 3}, 5}, AlgorithmCase{8, {32}, R7, {1, 3}, 6},
        AlgorithmCase{9, {32}, R7, {1, 3}, 2}, AlgorithmCase{10, {35}, S, {1, 4}, 3},
        AlgorithmCase{11, {35}, S, {1, 4}, 6}, AlgorithmCase{12, {33}, S, {1, 3}, 2},
        AlgorithmCase{13, {33}, S, {1, 3}, 6}, AlgorithmCase{14, {31}, S, {1, 3}, 6},
        AlgorithmCase{15, {31}, S, {1, 3}, 2}, AlgorithmCase{16, {16}, R16, {1}, 5},
        AlgorithmCase{17, {16}, R16, {1}, 6}, AlgorithmCase{18, {11}, R18, {1}, 6},
        AlgorithmCase{19, {40}, R19, {4, 1, 2}, 3}, AlgorithmCase{20, {41}, S, {1, 2, 4}, 3},
        AlgorithmCase{21, {40, 41}, NONE, {}, 0}, AlgorithmCase{22, {40, 41}, NONE, {}, 0},
        AlgorithmCase{23, {40, 41}, NONE, {}, 0}, AlgorithmCase{24, {44}, NONE, {}, 0},
        AlgorithmCase{25, {44}, NONE, {}, 0}, AlgorithmCase{26, {41}, NONE, {}, 0},
        AlgorithmCase{27, {41}, NONE, {}, 0}, AlgorithmCase{28, {40, 41}, NONE, {}, 0},
        AlgorithmCase{29, {37, 38, 39}, NONE, {}, 0}, AlgorithmCase{30, {37, 38, 39}, NONE, {}, 0},
        AlgorithmCase{31, {45}, NONE, {}, 0}, AlgorithmCase{32, {45}, S, {1, 2, 3, 4, 5, 6}, 6}));

TEST(VoiceConversion, ScalesAndTemplateBytes)
{
    auto dx = dxVoice(1, 0, "E.PIANO 1 ");
    std::uint8_t* op1 = dx.data() + 5 * 21;
    op1[16] = 0;   // output level
    op1[17] = 1;   // fixed frequency
    op1[19] = 50;  // fine
    op1[20] = 0;   // detune -7
    op1[0] = 0;    // R1
    op1[7] = 99;   // L4
    dx[144] = 36;  // transpose +12
    std::vector<std::string> notes;
    const vxc::SyVoice t = loadTemplate();
    const vxc::SyVoice sy = vxc::ConvertVoice(dx, t, 0, notes);
    EXPECT_EQ(std::string(sy.begin() + 33, sy.begin() + 43), "E.PIANO 1 ");
    const std::uint8_t* s1 = syOp(sy, 1);
    const std::uint8_t* s2 = syOp(sy, 2);
    EXPECT_EQ(s1[29], 0);
    EXPECT_EQ(s2[29], 127);     // 99 is the top of both scales
    EXPECT_EQ(s1[25] & 1, 1);
    EXPECT_EQ(s2[25] & 1, 0);
    EXPECT_EQ(s1[44], 50);
    EXPECT_EQ(s1[28], 0x10 | 15); // the far end of detune, negative
    EXPECT_EQ(s2[28], 0);
    EXPECT_EQ(s1[0], 0);
    EXPECT_EQ(s2[0], 63);
    EXPECT_EQ(s1[14], 63); // L4 99 is the start level
    EXPECT_EQ(s2[14], 0);
    EXPECT_EQ(sy[100], 64 + 12);
    // Effects, controllers and filters come from the template.
    EXPECT_TRUE(std::equal(t.begin() + 43, t.begin() + 98, sy.begin() + 43));
    EXPECT_TRUE(std::equal(t.begin() + 378, t.begin() + 464, sy.begin() + 378));
    bool detuneNoted = false;
    for (const auto& n : notes)
        detuneNoted |= n.find("detune op1") != std::string::npos;
    EXPECT_TRUE(detuneNoted);
}

// --- The program ------------------------------------------------------------

struct ProgramRun {
    TempDir dir;
    fs::path bin = dir.path() / "bin";
    fs::path work = dir.path() / "work";

    explicit ProgramRun(bool withTemplate = true)
    {
        fs::create_directories(bin);
        fs::create_directories(work);
        fs::copy_file(TONELOFT_VXC_PATH, bin / "vxc");
        if (withTemplate)
            fs::copy_file(templatePath(), bin / "syinit.dat");
    }
    void ini(int outputType, int inputType, const std::string& in, const std::string& out)
    {
        Build_VXCini((work / "vxc.ini").string(), outputType, inputType, in, out);
    }
    int exec()
    {
        const std::string command = "cd '" + work.string() + "' && '" + (bin / "vxc").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string file(const std::string& name) const { return TempDir::read((work / name).string()); }
    std::string fifth() const
    {
        const std::string text = file("vxc.ini");
        std::size_t at = 0;
        for (int i = 0; i < 4; ++i)
            at = text.find("\r\n", at) + 2;
        return text.substr(at, text.find("\r\n", at) - at);
    }
};

std::string bankMessage(const std::vector<std::array<std::uint8_t, 155>>& voices)
{
    std::string m = {'\xF0', '\x43', '\x00', '\x09', '\x20', '\x00'};
    unsigned sum = 0;
    for (const auto& v : voices) {
        std::array<std::uint8_t, 128> packed{};
        packVoice(v, packed);
        for (auto b : packed) {
            m += static_cast<char>(b);
            sum += b;
        }
    }
    m += static_cast<char>((0u - sum) & 0x7F);
    m += '\xF7';
    return m;
}

std::vector<std::array<std::uint8_t, 155>> voices(int count)
{
    std::vector<std::array<std::uint8_t, 155>> v;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i + 1);
        v.push_back(dxVoice(i % 32 + 1, i % 8, "VOICE " + std::string(4 - number.size(), '0') + number));
    }
    return v;
}

struct CodeCase {
    const char* what;
    int code;
};

class ExitCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ExitCodes, EachProvoked)
{
    const int code = GetParam().code;
    ProgramRun r(code != 3);
    const std::string bank = bankMessage(voices(32));
    std::ofstream((r.work / "SRC.SYX").string(), std::ios::binary) << bank;
    switch (code) {
    case 1: break; // no settings file
    case 2:
        std::ofstream((r.work / "vxc.ini").string(), std::ios::binary)
            << "output file type=0\r\ninput file type=3\r\ninput file name=SRC.SYX\r\n\r\nlast exit code=6\r\nNote\r\n";
        break;
    case 3: r.ini(0, 3, "SRC.SYX", "OUT.SYX"); break;
    case 4: r.ini(0, 3, "MISSING.SYX", "OUT.SYX"); break;
    case 5:
        std::ofstream((r.work / "CUT.SYX").string(), std::ios::binary) << bank.substr(0, 4000);
        r.ini(0, 3, "CUT.SYX", "OUT.SYX");
        break;
    default: r.ini(0, 3, "SRC.SYX", "OUT.SYX"); break;
    }
    EXPECT_EQ(r.exec(), code);
    if (code == 1) {
        EXPECT_FALSE(fs::exists(r.work / "vxc.ini"));
        return;
    }
    EXPECT_EQ(r.fifth(), "last exit code=" + std::to_string(code));
    EXPECT_EQ(fs::exists(r.work / "OUT.SYX"), code == 0);
    // The window reads the same line back as the right text.
    const std::string message = VxcExitCodeMessage(r.fifth());
    EXPECT_EQ(message.rfind(code == 0 ? "Conversion succeeded" : "Conversion failed - ", 0), 0u) << message;
}

INSTANTIATE_TEST_SUITE_P(Program, ExitCodes,
                         ::testing::Values(CodeCase{"done", 0}, CodeCase{"no ini", 1}, CodeCase{"no name", 2},
                                           CodeCase{"no template", 3}, CodeCase{"no source", 4},
                                           CodeCase{"cut bank", 5}),
                         [](const auto& p) { return "Code" + std::to_string(p.param.code); });

TEST(Program, OnlyLineFiveChanges)
{
    ProgramRun r;
    std::ofstream((r.work / "SRC.SYX").string(), std::ios::binary) << bankMessage(voices(32));
    r.ini(0, 3, "SRC.SYX", "OUT.SYX");
    const std::string before = r.file("vxc.ini");
    ASSERT_EQ(r.exec(), 0);
    std::string expected = before;
    expected.replace(expected.find("last exit code=6"), 16, "last exit code=0");
    EXPECT_EQ(r.file("vxc.ini"), expected);
}

TEST(Program, SeveralFilesTwoBanksEach)
{
    ProgramRun r;
    const auto all = voices(96);
    const std::vector<std::array<std::uint8_t, 155>> b1(all.begin(), all.begin() + 32),
        b2(all.begin() + 32, all.begin() + 64), b3(all.begin() + 64, all.end());
    std::ofstream((r.work / "SRC.SYX").string(), std::ios::binary)
        << bankMessage(b1) + bankMessage(b2) + bankMessage(b3);
    r.ini(1, 3, (r.work / "SRC.SYX").string(), (r.work / "OUT.001").string());
    ASSERT_EQ(r.exec(), 0);
    const std::string f0 = r.file("OUT.000"), f1 = r.file("OUT.001");
    ASSERT_EQ(f0.size(), 64 * kMessage);
    ASSERT_EQ(f1.size(), 32 * kMessage);
    EXPECT_FALSE(fs::exists(r.work / "OUT.002"));
    for (std::size_t i = 0; i < 96; ++i) {
        const std::string& f = i < 64 ? f0 : f1;
        const auto* m = reinterpret_cast<const std::uint8_t*>(f.data()) + (i % 64) * kMessage;
        expectValidMessage({m, kMessage}, static_cast<int>(i % 64));
        EXPECT_EQ(std::string(m + 33, m + 43), std::string(all[i].begin() + 145, all[i].end()));
    }
    const std::string report = r.file("OUT.vxc.txt");
    EXPECT_NE(report.find("Voice 96 \"VOICE 0096\""), std::string::npos);
    EXPECT_NE(report.find("nearest preset"), std::string::npos);
}

TEST(Program, AllVoicesInOneFileAndPackedEqualsUnpacked)
{
    ProgramRun r;
    const auto all = voices(70);
    std::string unpacked;
    for (const auto& v : all)
        unpacked.append(reinterpret_cast<const char*>(v.data()), v.size());
    std::string packed;
    for (const auto& v : all) {
        std::array<std::uint8_t, 128> p{};
        packVoice(v, p);
        packed.append(reinterpret_cast<const char*>(p.data()), p.size());
    }
    std::ofstream((r.work / "U.DAT").string(), std::ios::binary) << unpacked;
    std::ofstream((r.work / "P.DAT").string(), std::ios::binary) << packed;
    r.ini(0, 0, "U.DAT", "U.SY");
    ASSERT_EQ(r.exec(), 0);
    r.ini(0, 2, "P.DAT", "P.SY");
    ASSERT_EQ(r.exec(), 0);
    ASSERT_EQ(r.file("U.SY").size(), 70 * kMessage);
    EXPECT_EQ(r.file("U.SY"), r.file("P.SY"));
}

TEST(Program, FactoryBankNamesSurviveAndOurLoaderRefusesTheOutput)
{
    TONELOFT_REQUIRE_CORPUS();
    ProgramRun r;
    const fs::path rom = test::corpusDir() / "ROM1A.syx";
    if (!fs::exists(rom))
        GTEST_SKIP() << "no ROM1A.syx in the corpus";
    r.ini(0, 3, rom.string(), "ROM1A.SY");
    ASSERT_EQ(r.exec(), 0);
    const std::string out = r.file("ROM1A.SY");
    const std::string bank = TempDir::read(rom.string());
    ASSERT_EQ(out.size(), 32 * kMessage);
    for (std::size_t i = 0; i < 32; ++i) {
        const auto* m = reinterpret_cast<const std::uint8_t*>(out.data()) + i * kMessage;
        expectValidMessage({m, kMessage}, static_cast<int>(i));
        EXPECT_EQ(std::string(out, i * kMessage + 33, 10), bank.substr(6 + i * 128 + 118, 10));
    }
    test::ScriptedUi ui;
    std::string name = (r.work / "ROM1A.SY").string();
    int type = 0;
    EXPECT_EQ(CheckFileIntegrity(ui, name, type, true, {}), -5);
}

// Several files are numbered with three digits: 1,000 files of 64 voices at
// most. One voice more is refused, never written past the last file.
TEST(Program, MoreVoicesThanOneThousandFilesHoldAreRefused)
{
    constexpr std::size_t kFits = 1000 * 64;
    vxc::Settings several;
    several.outputFileType = 1;
    several.inputFileType = 2;
    several.inputFileName = "BIG.DAT";
    several.outputFileName = "OUT.001";
    const std::vector<vxc::DxVoice> tooMany(kFits + 1, dxVoice(1, 0));
    EXPECT_TRUE(vxc::ConvertVoices(several, tooMany, loadTemplate()).files.empty());

    ProgramRun r;
    std::array<std::uint8_t, 128> packed{};
    packVoice(dxVoice(5, 3), packed);
    {
        std::ofstream out((r.work / "BIG.DAT").string(), std::ios::binary);
        for (std::size_t i = 0; i < kFits + 1; ++i)
            out.write(reinterpret_cast<const char*>(packed.data()), packed.size());
    }
    r.ini(1, 2, "BIG.DAT", "OUT.001");
    EXPECT_EQ(r.exec(), 5);
    EXPECT_FALSE(fs::exists(r.work / "OUT.000"));
    EXPECT_FALSE(fs::exists(r.work / "OUT.999"));
}

// The settings and the source as the program reads them from memory: both
// line endings, and sources that do not match their type.
TEST(Settings, TextAndSourceInMemory)
{
    vxc::Settings s;
    int code = -1;
    ASSERT_TRUE(vxc::ParseSettingsText("output file type=1\ninput file type=0\r\ninput file name=A.DAT\n"
                                       "output file name=B.SY\r\nlast exit code=6",
                                       s, code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(s.outputFileType, 1);
    EXPECT_EQ(s.inputFileType, 0);
    EXPECT_EQ(s.inputFileName, "A.DAT");
    EXPECT_EQ(s.outputFileName, "B.SY");
    EXPECT_FALSE(vxc::ParseSettingsText("output file type=1\ninput file type=0\ninput file name=A\n", s, code));
    EXPECT_EQ(code, 2);

    const std::string bank = bankMessage(voices(32));
    EXPECT_EQ(vxc::ReadSourceVoices(bank, 3)->size(), 32u);
    EXPECT_FALSE(vxc::ReadSourceVoices(bank.substr(0, 4103), 3));        // cut short
    EXPECT_FALSE(vxc::ReadSourceVoices(std::string(163, '\0'), 1));      // no header
    EXPECT_FALSE(vxc::ReadSourceVoices(std::string(154, '\0'), 0));      // not one voice
    EXPECT_EQ(vxc::ReadSourceVoices(std::string(155 * 2 + 7, '\0'), 0)->size(), 2u);
    EXPECT_FALSE(vxc::ReadSourceVoices(bank, 4));
}

} // namespace
} // namespace toneloft
