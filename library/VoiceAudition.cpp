#include "library/VoiceAudition.h"

#include "common/SynthLink.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceData.h"

namespace toneloft::VoiceAudition {

namespace {

constexpr int kFirstNameParameter = 146;
constexpr std::size_t kNameLength = 10;

SynthLink* openSynth(Session& session)
{
    SynthLink* synth = session.synth();
    return synth && synth->outputOpen() ? synth : nullptr;
}

} // namespace

ByteString voiceString(Session& session, VoiceList& list, long voice, int layout)
{
    ByteString out;
    if (voice < 1 || voice > list.voiceCount())
        return out;
    clsVoiceData data(session.ui());
    std::int32_t crc = 0;
    if (!data.GetVoiceData(list.rsmfimage(), voice, list.FileType, clsVoiceData::GetVoiceMode::StringOnly,
                           layout, out, crc))
        out.clear();
    return out;
}

bool auditionVoice(Session& session, VoiceList& list, long voice, bool playScale)
{
    SynthLink* synth = openSynth(session);
    if (!synth || voice < 1)
        return false;
    const ByteString data = voiceString(session, list, voice);
    if (data.empty())
        return false;
    synth->sendVoice(data, playScale);
    return true;
}

bool sendVoiceName(Session& session, std::string_view name)
{
    SynthLink* synth = openSynth(session);
    if (!synth)
        return false;
    for (std::size_t i = 0; i < kNameLength; ++i) {
        const unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i]) : ' ';
        synth->sendParameter(kFirstNameParameter + static_cast<int>(i), c);
    }
    return true;
}

} // namespace toneloft::VoiceAudition
