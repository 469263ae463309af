#include "vxc/VoiceConverter.h"

#include "vxc/Algorithms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace toneloft::vxc {

namespace {

// Unpacked DX7 voice: six operator blocks of 21 bytes, operator 6 first, then
// the voice-wide parameters.
constexpr std::size_t kDxOperatorSize = 21;
enum DxOp : std::size_t {
    R1 = 0, L1 = 4, BreakPoint = 8, LeftDepth = 9, RightDepth = 10, LeftCurve = 11,
    RightCurve = 12, RateScaling = 13, AmpModSens = 14, KeyVelocity = 15, OutputLevel = 16,
    OscMode = 17, Coarse = 18, Fine = 19, Detune = 20
};
constexpr std::size_t kDxAlgorithm = 134;
constexpr std::size_t kDxFeedback = 135;
constexpr std::size_t kDxPitchModSens = 143;
constexpr std::size_t kDxTranspose = 144;
constexpr std::size_t kDxName = 145;

// Offsets inside an SY operator block.
enum SyOp : std::size_t {
    Rates = 0, Levels = 6, StartLevel = 14, SyRateScaling = 15, SyAmSens = 16, SyVelocity = 17,
    InputHigh = 19, Inputs = 20, Output = 21, Shifts = 22, Correction = 23, Switches = 25,
    SyDetune = 28, SyOutputLevel = 29, BreakPoints = 30, Offsets = 34, SyCoarse = 43, SyFine = 44
};

constexpr std::uint8_t kToAccumulator = 0x04;
constexpr std::uint8_t kKeepAccumulator = 0x10;
constexpr int kFromNextOperator = 1;
constexpr int kFromRegister = 2;     // + register 1..3
constexpr int kFeedbackRegister = 5; // + register 1..3

std::uint8_t scale(int value, int fromMax, int toMax)
{
    value = std::clamp(value, 0, fromMax);
    return static_cast<std::uint8_t>(std::lround(value * static_cast<double>(toMax) / fromMax));
}

std::string opName(int op)
{
    return "op" + std::to_string(op);
}

bool has(OperatorMask mask, int op)
{
    return (mask & (1u << op)) != 0;
}

int countBits(OperatorMask mask)
{
    int n = 0;
    for (int op = 1; op <= 6; ++op)
        n += has(mask, op) ? 1 : 0;
    return n;
}

// Output-level correction by the number of carriers (modulators take 0).
std::uint8_t correctionFor(int carriers)
{
    static constexpr std::array<std::uint8_t, 7> table{0, 0, 1, 3, 4, 5, 6};
    return table[static_cast<std::size_t>(std::clamp(carriers, 0, 6))];
}

struct Routing {
    std::array<std::array<int, 2>, 7> inputs{}; // source codes, 0 off
    std::array<std::array<bool, 2>, 7> feedbackInput{};
    std::array<std::uint8_t, 7> output{};
};

// Operators are computed 6 down to 1. An operator read only by the one computed
// right after it is taken "from the next operator"; any other reader, and
// feedback, needs one of the three registers.
Routing route(const Topology& t, std::vector<std::string>& notes)
{
    Routing r;
    std::array<int, 7> reg{};
    int nextRegister = 1;
    for (int op = 6; op >= 1; --op) {
        bool needs = op == t.feedbackOperator;
        for (int reader = 1; reader <= 6; ++reader)
            if (reader != op - 1 && has(t.modulators[static_cast<std::size_t>(reader)], op))
                needs = true;
        if (!needs)
            continue;
        if (nextRegister > 3) {
            notes.push_back("routing: no register left for SY77 op" + std::to_string(op) +
                            "; the preset algorithm carries its connection");
            continue;
        }
        reg[static_cast<std::size_t>(op)] = nextRegister++;
    }

    bool firstCarrier = true;
    for (int op = 6; op >= 1; --op) {
        const auto o = static_cast<std::size_t>(op);
        std::uint8_t out = static_cast<std::uint8_t>(reg[o]);
        if (has(t.carriers, op)) {
            out |= kToAccumulator;
            if (!firstCarrier)
                out |= kKeepAccumulator;
            firstCarrier = false;
        } else {
            out |= kKeepAccumulator;
        }
        r.output[o] = out;

        int slot = 0;
        if (op == t.feedbackOperator && reg[o] != 0) {
            r.inputs[o][0] = kFeedbackRegister + reg[o];
            r.feedbackInput[o][0] = true;
            slot = 1;
        }
        for (int m = 6; m >= 1; --m) {
            if (!has(t.modulators[o], m))
                continue;
            int source = 0;
            if (m == op + 1)
                source = kFromNextOperator;
            else if (reg[static_cast<std::size_t>(m)] != 0)
                source = kFromRegister + reg[static_cast<std::size_t>(m)];
            if (source == 0)
                continue;
            if (slot > 1) {
                notes.push_back("routing: SY77 op" + std::to_string(op) + " has more than two modulators; op" +
                                std::to_string(m) + " is left to the preset algorithm");
                continue;
            }
            r.inputs[o][static_cast<std::size_t>(slot++)] = source;
        }
    }
    return r;
}

void writeRouting(std::uint8_t* block, const Routing& r, int op, int feedback, int carriers,
                  bool carrier)
{
    const auto o = static_cast<std::size_t>(op);
    const int in0 = r.inputs[o][0];
    const int in1 = r.inputs[o][1];
    block[Inputs] = static_cast<std::uint8_t>((in0 & 0x0F) | ((in1 & 0x07) << 4));
    block[InputHigh] = static_cast<std::uint8_t>((in1 >> 3) & 0x01);
    block[Output] = r.output[o];
    // Input shifts: bits 0-2 for input 0, bits 3-5 for input 1; the feedback
    // input's shift carries the DX7 feedback amount.
    std::uint8_t shifts = block[Shifts];
    for (std::size_t i = 0; i < 2; ++i) {
        if (!r.feedbackInput[o][i])
            continue;
        const int at = i == 0 ? 0 : 3;
        shifts = static_cast<std::uint8_t>((shifts & ~(0x07 << at)) | ((feedback & 0x07) << at));
    }
    block[Shifts] = shifts;
    block[Correction] = carrier ? correctionFor(carriers) : 0;
}

// DX7 envelope: L4 is where a note starts and ends, R1..R3 lead to L1..L3 (the
// sustain), R4 is the release. The SY77 starts at L0, holds at L4 (loop point
// 3), and releases through RR1/RL1 and RR2/RL2.
void writeEnvelope(std::uint8_t* block, const std::uint8_t* dx)
{
    for (std::size_t i = 0; i < 3; ++i) {
        block[Rates + i] = scale(dx[R1 + i], 99, 63);
        block[Levels + i] = scale(dx[L1 + i], 99, 63);
    }
    block[Rates + 3] = 63;
    block[Levels + 3] = scale(dx[L1 + 2], 99, 63);
    block[Rates + 4] = scale(dx[R1 + 3], 99, 63);
    block[Levels + 4] = scale(dx[L1 + 3], 99, 63);
    block[Rates + 5] = 63;
    block[Levels + 5] = scale(dx[L1 + 3], 99, 63);
    block[StartLevel] = scale(dx[L1 + 3], 99, 63);
}

void writeOffset(std::uint8_t* at, int offset)
{
    const int v = std::clamp(128 + offset, 1, 255);
    at[0] = static_cast<std::uint8_t>(v >> 7);
    at[1] = static_cast<std::uint8_t>(v & 0x7F);
}

// One DX7 break point with a curve and depth either side becomes four SY77 break
// points (notes) with level offsets: three octaves below, the break point and the
// note above it, three octaves above. Exponential curves are taken as straight.
void writeLevelScaling(std::uint8_t* block, const std::uint8_t* dx, const std::string& op,
                       std::vector<std::string>& notes)
{
    const int note = std::clamp(dx[BreakPoint] + 21, 0, 127); // DX7 break point 0 = A-1
    const std::array<int, 4> points{std::max(0, note - 36), note, std::min(127, note + 1),
                                    std::min(127, note + 36)};
    for (std::size_t i = 0; i < 4; ++i)
        block[BreakPoints + i] = static_cast<std::uint8_t>(points[i]);
    // Curves 0 -LIN, 1 -EXP, 2 +EXP, 3 +LIN; a depth of 99 spans the output
    // level's range over four octaves, so three octaves take three quarters.
    auto offset = [](int depth, int curve) {
        const int size = static_cast<int>(std::lround(std::clamp(depth, 0, 99) * 127.0 / 99.0 * 0.75));
        return curve >= 2 ? size : -size;
    };
    writeOffset(block + Offsets + 0, offset(dx[LeftDepth], dx[LeftCurve]));
    writeOffset(block + Offsets + 2, 0);
    writeOffset(block + Offsets + 4, 0);
    writeOffset(block + Offsets + 6, offset(dx[RightDepth], dx[RightCurve]));
    if (dx[LeftDepth] != 0 || dx[RightDepth] != 0) {
        std::string text = "level scaling " + op + ": depths " + std::to_string(dx[LeftDepth]) +
                           "/" + std::to_string(dx[RightDepth]) + " as straight offsets at four break points";
        if (dx[LeftCurve] == 1 || dx[LeftCurve] == 2 || dx[RightCurve] == 1 || dx[RightCurve] == 2)
            text += " (exponential curve taken as straight)";
        notes.push_back(text);
    }
}

void writeFrequency(std::uint8_t* block, const std::uint8_t* dx, const std::string& op, int pitchModSens,
                    std::vector<std::string>& notes)
{
    std::uint8_t switches = block[Switches];
    switches = static_cast<std::uint8_t>((switches & ~0x1C) | ((pitchModSens & 0x07) << 2));
    switches = static_cast<std::uint8_t>((switches & ~0x01) | (dx[OscMode] & 0x01));
    block[Switches] = switches;
    block[SyCoarse] = static_cast<std::uint8_t>(std::min<int>(dx[Coarse], 31));
    block[SyFine] = static_cast<std::uint8_t>(std::min<int>(dx[Fine], 99));
    // DX7 detune 0..14 with 7 centred; SY77 -15..+15, bit 4 the sign.
    const int dxDetune = std::clamp(static_cast<int>(dx[Detune]), 0, 14) - 7;
    const int syDetune = static_cast<int>(std::lround(dxDetune * 15.0 / 7.0));
    block[SyDetune] = static_cast<std::uint8_t>(std::abs(syDetune) | (syDetune < 0 ? 0x10 : 0));
    if (dxDetune != 0)
        notes.push_back("detune " + op + ": DX7 " + std::to_string(dxDetune) + " as SY77 " +
                        std::to_string(syDetune));
}

} // namespace

bool IsUsableTemplate(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kSyVoiceSize || bytes[0] != 0xF0 || bytes[1] != 0x43 || bytes[3] != 0x7A ||
        bytes[kSyVoiceSize - 1] != 0xF7)
        return false;
    if (!std::equal(kSyVoiceTag.begin(), kSyVoiceTag.end(), bytes.subspan(kSyCountedFirst).begin()))
        return false;
    return bytes[kSyElementMode] == 0 || bytes[kSyElementMode] == 3;
}

std::uint8_t SyChecksum(std::span<const std::uint8_t, kSyVoiceSize> message)
{
    unsigned sum = 0;
    for (std::size_t i = kSyCountedFirst; i < kSyChecksumOffset; ++i)
        sum += message[i];
    return static_cast<std::uint8_t>((0u - sum) & 0x7Fu);
}

SyVoice ConvertVoice(std::span<const std::uint8_t, 155> dx, const SyVoice& syTemplate, int memoryNumber,
                     std::vector<std::string>& notes)
{
    SyVoice sy = syTemplate;
    constexpr unsigned count = kSyChecksumOffset - kSyCountedFirst;
    sy[4] = static_cast<std::uint8_t>(count >> 7);
    sy[5] = static_cast<std::uint8_t>(count & 0x7F);
    std::fill(sy.begin() + 16, sy.begin() + 30, std::uint8_t{0});
    sy[kSyMemoryType] = 0x00;
    sy[kSyMemoryNumber] = static_cast<std::uint8_t>(std::clamp(memoryNumber, 0, 63));
    sy[kSyElementMode] = 3; // 1AFM poly

    for (std::size_t i = 0; i < 10; ++i) {
        const std::uint8_t c = dx[kDxName + i];
        sy[kSyName + i] = c >= 32 && c <= 126 ? c : std::uint8_t{' '};
    }

    const int dxAlgorithm = std::clamp(static_cast<int>(dx[kDxAlgorithm]), 0, 31) + 1;
    const AlgorithmMapping map = MapAlgorithm(dxAlgorithm);
    sy[kSyAlgorithm] = static_cast<std::uint8_t>(map.syAlgorithm - 1);
    if (!map.note.empty())
        notes.push_back(map.note);
    if (dxAlgorithm == 4 || dxAlgorithm == 6)
        notes.push_back("feedback loop of DX7 algorithm " + std::to_string(dxAlgorithm) +
                        " written as operator " + std::to_string(map.syOperator[6]) + " feeding itself");

    const int feedback = dx[kDxFeedback] & 0x07;
    Topology topology = map.syTopology;
    if (feedback == 0)
        topology.feedbackOperator = 0;
    else
        notes.push_back("feedback " + std::to_string(feedback) + " as input shift " +
                        std::to_string(feedback) + " (scale not verified)");
    const Routing routing = route(topology, notes);
    const int carriers = countBits(topology.carriers);
    const int pitchModSens = dx[kDxPitchModSens] & 0x07;

    for (int dxOp = 1; dxOp <= 6; ++dxOp) {
        const std::uint8_t* d = dx.data() + static_cast<std::size_t>(6 - dxOp) * kDxOperatorSize;
        const int syOp = map.syOperator[static_cast<std::size_t>(dxOp)];
        std::uint8_t* b = sy.data() + SyOperatorOffset(syOp);
        writeEnvelope(b, d);
        b[SyRateScaling] = static_cast<std::uint8_t>(d[RateScaling] & 0x07);
        b[SyAmSens] = static_cast<std::uint8_t>((d[AmpModSens] & 0x03) * 2);
        b[SyVelocity] = static_cast<std::uint8_t>(d[KeyVelocity] & 0x07);
        b[SyOutputLevel] = scale(d[OutputLevel], 99, 127);
        // Notes name the DX7 operator, and where it went when renumbered.
        std::string label = opName(dxOp);
        if (syOp != dxOp)
            label += " (SY77 op" + std::to_string(syOp) + ")";
        writeLevelScaling(b, d, label, notes);
        writeFrequency(b, d, label, pitchModSens, notes);
        writeRouting(b, routing, syOp, feedback, carriers, has(topology.carriers, syOp));
    }

    // Transpose: DX7 0..48 with 24 = C3, SY77 note shift with 64 = none.
    sy[kSyNoteShift] = static_cast<std::uint8_t>(64 + std::clamp(static_cast<int>(dx[kDxTranspose]), 0, 48) - 24);

    notes.push_back("envelopes: rates and levels 0-99 as 0-63; L4 as start level L0 and release level, "
                    "R4 as release rate RR1");
    notes.push_back("output levels 0-99 as 0-127; AM sensitivity 0-3 as 0-6; rate scaling and "
                    "velocity sensitivity on their DX7 scales");
    notes.push_back("pitch EG, LFO, oscillator key sync and effects from the template");

    sy[kSyChecksumOffset] = SyChecksum(sy);
    sy[kSyVoiceSize - 1] = 0xF7;
    return sy;
}

} // namespace toneloft::vxc
