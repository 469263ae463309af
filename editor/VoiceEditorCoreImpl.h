#pragma once

// The voice editor core's tables and the small helpers its sections share
// (VoiceEditorCore.cpp, VoiceEditorCoreEdits.cpp, VoiceEditorCoreHistory.cpp).
// Private to the editor library.

#include "editor/EditorGrids.h"
#include "editor/VoiceEditorCore.h"
#include "editor/modOscillator.h"
#include "voice/Session.h"
#include "voice/VoiceParameterTable.h"
#include "voice/clsVoiceData.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {
namespace voice_editor_core {

constexpr int kRows = VoiceParameterTable::RowCount;       // 155
constexpr int kDataRows = VoiceParameterTable::DataRowCount; // 145: then the name
constexpr int kAlgorithmParam = 135;
constexpr int kOperatorMaskParam = 156;
constexpr int kTestNote = 60;

// Sets the session's event-suppression flag for a scope and puts back what
// was there, so nested edits (a typed frequency sets two rows) leave it right.
class Suppress {
public:
    explicit Suppress(Session& s) : m_session(s), m_before(s.eventsSuppressed)
    {
        s.eventsSuppressed = true;
    }
    ~Suppress() { m_session.eventsSuppressed = m_before; }
    Suppress(const Suppress&) = delete;
    Suppress& operator=(const Suppress&) = delete;

private:
    Session& m_session;
    bool m_before;
};

inline std::string trimBoth(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

// ParamID of an operator block row: operator n's block starts at (6 - n) x 21 + 1.
inline int operatorParam(int op, int offset)
{
    return (6 - op) * VoiceParameterTable::OperatorBlockSize + offset + 1;
}

// What a set of changed parameters asks the window to redraw.
inline EditorRefresh refreshFor(const std::vector<int>& changed, const std::array<int, kRows + 1>& gridOf)
{
    EditorRefresh r;
    for (const int p : changed) {
        if (p < 1 || p > kRows)
            continue;
        const int g = gridOf[static_cast<std::size_t>(p)];
        if (g >= 0 && std::find(r.grids.begin(), r.grids.end(), g) == r.grids.end())
            r.grids.push_back(g);
        r.algorithm = r.algorithm || p == kAlgorithmParam;
        r.name = r.name || p > kDataRows;
    }
    std::sort(r.grids.begin(), r.grids.end());
    return r;
}

} // namespace voice_editor_core

struct VoiceEditorCore::Impl {
    clsVoiceData* data = nullptr;
    std::unique_ptr<Recordset> all; // every row in table order: row p is ParamID p
    std::array<Recordset, EditorGrids::kGridCount> grids;
    std::array<std::vector<int>, EditorGrids::kGridCount> gridParams;
    std::array<int, voice_editor_core::kRows + 1> gridOfParam{};
    int fParamId = -1, fValue = -1, fProxyFieldId = -1, fProxyVal = -1;

    bool valid() const { return data && all; }

    void at(int paramId) const { all->setAbsolutePosition(paramId); }

    std::string valueText(int paramId) const
    {
        at(paramId);
        return all->text(fValue);
    }

    int value(int paramId) const
    {
        if (!valid() || paramId < 1 || paramId > voice_editor_core::kRows)
            return -1;
        const std::string text = valueText(paramId);
        if (paramId > voice_editor_core::kDataRows)
            return text.empty() ? ' ' : static_cast<unsigned char>(text.front());
        return static_cast<int>(VoiceParameterTable::numericValue(text));
    }

    void store(int paramId, int v)
    {
        at(paramId);
        if (paramId > voice_editor_core::kDataRows)
            all->setValue(fValue, std::string(1, static_cast<char>(v)));
        else
            all->setValue(fValue, std::to_string(v));
        all->update();
    }

    int oscMode(int paramId) const
    {
        const int modeRow = VoiceParameterTable::oscModeRowOf(paramId - 1);
        return modeRow < 0 ? 0 : value(modeRow + 1);
    }

    int proxyField(int paramId) const
    {
        return VoiceParameterTable::proxyField(paramId - 1, oscMode(paramId));
    }

    // The text a ProxyVal cell holds for the row's current value.
    std::string proxyText(int paramId) const
    {
        const int field = proxyField(paramId);
        const int v = value(paramId);
        if (field == 3 || field == 4) {
            const int op = VoiceParameterTable::row(paramId - 1).operatorNumber;
            return modOscillator::FrequencyText(oscMode(paramId),
                                                value(voice_editor_core::operatorParam(op, 18)),
                                                value(voice_editor_core::operatorParam(op, 19)));
        }
        if (field == 0)
            return valueText(paramId);
        return VoiceParameterTable::proxyText(field, v);
    }
};

} // namespace toneloft
