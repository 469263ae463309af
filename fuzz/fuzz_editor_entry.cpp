// The voice editor's typed entry: any text into any cell of any grid (rows
// and grids a little past the edges as well), the name, the spin, and undo and
// redo between them, on a voice of a real bank. Frequency texts and every
// grid's texts are read back after each edit.
#include "common/SynthLink.h"
#include "editor/EditorGrids.h"
#include "editor/VoiceEditorCore.h"
#include "support/ScriptedUi.h"
#include "voice/Session.h"
#include "voice/VoiceEditor.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

using namespace toneloft;

namespace {

// Takes what the editor sends, so the sending paths run.
struct SilentSynth : SynthLink {
    bool outputOpen() const override { return true; }
    void sendVoice(const ByteString&, bool) override {}
    void sendParameter(int, int) override {}
};

struct Bench {
    test::ScriptedUi ui;
    Session session{ui, "/nonexistent"};
    SilentSynth synth;
    std::shared_ptr<VoiceList> list;

    Bench()
    {
        ui.tickMs = 1000;
        session.setSynth(&synth);
        clsVoiceNames names(session);
        list = names.CreateVoiceListandFileImage(TONELOFT_TEST_DATA "/corpus/ROM1A.syx", false);
        if (!list)
            std::abort();
    }
};

std::string take(std::span<const std::uint8_t>& in, std::size_t n)
{
    n = std::min(n, in.size());
    std::string out(reinterpret_cast<const char*>(in.data()), n);
    in = in.subspan(n);
    return out;
}

int takeByte(std::span<const std::uint8_t>& in)
{
    if (in.empty())
        return 0;
    const int b = in[0];
    in = in.subspan(1);
    return b;
}

} // namespace

// One editor per voice stays open across inputs (opening one costs more than
// most inputs); each input starts from the voice as the list holds it (undo
// steps of earlier inputs may still be taken back, a small price). They
// are opened again every few hundred inputs, so their undo steps stay few.
struct OpenEditor {
    std::shared_ptr<VoiceEditor> handle;
    std::unique_ptr<VoiceEditorCore> core;
    ByteString loaded; // the voice as the list holds it
};

// Puts back what the last input changed: only the changed values, which costs
// far less than reloading the voice.
void restore(OpenEditor& e)
{
    VoiceEditorCore& core = *e.core;
    const ByteString now = core.voice();
    std::vector<ParameterEdit> edits;
    for (int p = 1; p <= 145; ++p) {
        const auto i = static_cast<std::size_t>(p - 1);
        if (now[i] != e.loaded[i])
            edits.push_back({p, static_cast<std::uint8_t>(e.loaded[i]), false});
    }
    if (!edits.empty() && !core.SetValues(edits))
        std::abort();
    if (now.substr(145) != e.loaded.substr(145) && !core.VoiceNameChange(e.loaded.substr(145)))
        std::abort();
}

VoiceEditorCore& editorFor(Bench& bench, long voice)
{
    static std::vector<OpenEditor> open(static_cast<std::size_t>(bench.list->voiceCount()));
    static int uses = 0;
    if (++uses % 512 == 0)
        for (auto& e : open)
            if (e.core) {
                e.core.reset();
                e.handle->requestClose();
                e.handle.reset();
            }
    OpenEditor& e = open[static_cast<std::size_t>(voice - 1)];
    if (!e.core) {
        e.handle = bench.list->openEditor(voice);
        if (!e.handle)
            std::abort();
        e.core = std::make_unique<VoiceEditorCore>(bench.session, e.handle);
        if (!e.core->isValid())
            std::abort();
        e.loaded = e.core->voice();
    }
    restore(e);
    return *e.core;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Bench bench;
    std::span<const std::uint8_t> in(data, size);
    const long voice = 1 + takeByte(in) % bench.list->voiceCount();
    VoiceEditorCore& core = editorFor(bench, voice);
    while (!in.empty()) {
        const int op = takeByte(in);
        const int g = takeByte(in) % 29 - 1;
        const int row = takeByte(in) % 28 - 1;
        core.modCtrlKey = op & 0x80;
        switch (op & 7) {
        case 0:
        case 1:
        case 2:
        case 3: (void)core.TypedEntry(g, row, take(in, static_cast<std::size_t>(takeByte(in) % 24))); break;
        case 4: (void)core.VoiceNameChange(take(in, static_cast<std::size_t>(takeByte(in) % 14))); break;
        case 5: (void)core.SpinChange(g, row, takeByte(in) - 8); break;
        case 6: (void)(op & 8 ? core.Undo() : core.Redo()); break;
        default: (void)core.AlgorithmChange(takeByte(in) % 34 - 1); break;
        }
        for (int n = 0; n <= 7; ++n)
            (void)core.frequencyText(n);
        if (g >= 0 && g < EditorGrids::kGridCount)
            for (int r = 0; r < core.gridRowCount(g); ++r) {
                (void)core.gridText(g, r);
                // Whatever was typed, a stored value stays within its row's range.
                const auto spin = core.spinFor(g, r);
                if (spin && (spin->value < spin->min || spin->value > spin->max))
                    __builtin_trap();
            }
    }
    if (core.voice().size() != 155)
        __builtin_trap();
    bench.ui.boxes.clear();
    bench.ui.statuses.clear();
    bench.ui.logLines.clear();
    return 0;
}
