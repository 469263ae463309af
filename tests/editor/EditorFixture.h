#pragma once

#include "common/SynthLink.h"
#include "editor/VoiceEditorCore.h"
#include "support/SessionFixture.h"
#include "voice/VoiceEditor.h"

#include <memory>
#include <string>
#include <vector>

namespace toneloft::test {

// A synthesiser that records what the editor sends.
struct RecordingSynth : SynthLink {
    struct Send {
        int parameter;
        int value;
        bool note;
        bool scale;
        bool operator==(const Send&) const = default;
    };
    bool open = true;
    std::vector<Send> parameters;
    std::vector<ByteString> voices;
    int scales = 0;
    int testNotes = 0;
    int noteOffs = 0;

    bool outputOpen() const override { return open; }
    void sendVoice(const ByteString& voice, bool) override { voices.push_back(voice); }
    void sendParameter(int p, int v) override { parameters.push_back({p, v, false, false}); }
    void sendParameterChange(int p, int v, bool note, bool scale) override
    {
        parameters.push_back({p, v, note, scale});
    }
    void playScale() override { ++scales; }
    void playTestNote(int) override { ++testNotes; }
    void noteOff(int) override { ++noteOffs; }
    std::size_t sends() const { return parameters.size() + voices.size(); }
    void clear()
    {
        parameters.clear();
        voices.clear();
        scales = testNotes = noteOffs = 0;
    }
};

// ParamID of row j (0..20) of operator n's block: operator 6's block comes first.
constexpr int opParam(int n, int j)
{
    return (6 - n) * 21 + j + 1;
}

// A session with one unpacked list of four test voices and an editor core on
// voice 2, MIDI on through the recording synthesiser.
class EditorFixture : public SessionFixture {
protected:
    void SetUp() override
    {
        list = openNew("four.dat", 0, 4);
        ASSERT_TRUE(list);
        session.setSynth(&synth);
        editor = openCore(*list, 2);
        ASSERT_TRUE(editor && editor->isValid());
    }
    void TearDown() override { session.setSynth(nullptr); }

    std::unique_ptr<VoiceEditorCore> openCore(VoiceList& l, long voice)
    {
        auto handle = l.openEditor(voice);
        if (!handle)
            return nullptr;
        return std::make_unique<VoiceEditorCore>(session, handle);
    }

    // Grid g's row holding parameter p.
    int rowOf(VoiceEditorCore& e, int g, int p)
    {
        for (int r = 0; r < e.gridRowCount(g); ++r)
            if (e.paramIdAt(g, r) == p)
                return r;
        ADD_FAILURE() << "parameter " << p << " is not in grid " << g;
        return -1;
    }

    RecordingSynth synth;
    std::shared_ptr<VoiceList> list;
    std::unique_ptr<VoiceEditorCore> editor;
};

} // namespace toneloft::test
