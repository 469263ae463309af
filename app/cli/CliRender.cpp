#include "app/cli/CliRender.h"

#include "app/cli/CliUi.h"
#include "voice/Session.h"
#include "synth/FmEngine.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceData.h"
#include "voice/clsVoiceNames.h"

#include <sndfile.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <vector>

namespace toneloft::cli {

namespace {

constexpr const char* kRenderUsage =
    "Usage: toneloft-cli render FILE --voice N [--note K] [--notes K,K,...] [--velocity V]\n"
    "                          [--hold S] [--tail S] [--rate HZ] -o OUT.wav\n"
    "  plays voice N (1-based) of FILE on the built-in FM engine: the notes (default 69, A4)\n"
    "  held for S seconds (default 1) at velocity V (1-127, default 100), then S seconds of\n"
    "  release (default 1), at HZ samples per second (default 48000), 16-bit mono WAV.\n";

struct RenderOptions {
    std::string file;
    std::string output;
    long voice = 0;
    std::vector<int> notes{69};
    int velocity = 100;
    double hold = 1.0;
    double tail = 1.0;
    int rate = 48000;
};

// Just below the largest 16-bit sample.
constexpr float kFullScale = 32767.0f / 32768.0f;

int usage(const std::string& problem)
{
    std::cerr << "toneloft-cli render: " << problem << "\n" << kRenderUsage;
    return 2;
}

template <typename T>
std::optional<T> number(const std::string& text)
{
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<std::vector<int>> noteList(const std::string& text)
{
    std::vector<int> notes;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const auto n = number<int>(text.substr(at, comma - at));
        if (!n || *n < 0 || *n > 127)
            return std::nullopt;
        notes.push_back(*n);
        at = comma + 1;
    }
    if (notes.empty() || notes.size() > static_cast<std::size_t>(synth::FmEngine::kVoices))
        return std::nullopt;
    return notes;
}

// Writes 16-bit mono PCM beside the target and renames it over.
bool writeWav(const std::string& path, const std::vector<float>& sound, int rate, std::string& error)
{
    const std::string temp = path + ".tmp";
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(temp.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = sf_strerror(nullptr);
        return false;
    }
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const auto written = sf_write_float(file, sound.data(), static_cast<sf_count_t>(sound.size()));
    const bool complete = written == static_cast<sf_count_t>(sound.size());
    if (!complete)
        error = sf_strerror(file);
    if (sf_close(file) != 0 && complete)
        error = "closing failed";
    std::error_code ec;
    if (!complete || !error.empty()) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        error = ec.message();
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

} // namespace

int RunRender(int argc, char** argv, const std::string& programDirectory)
{
    RenderOptions o;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kRenderUsage;
            return 0;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            if (i + 1 >= argc)
                return usage(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "-o") {
                o.output = value;
            } else if (arg == "--voice") {
                const auto v = number<long>(value);
                if (!v || *v < 1)
                    return usage("--voice takes a voice number from 1");
                o.voice = *v;
            } else if (arg == "--note" || arg == "--notes") {
                const auto notes = noteList(value);
                if (!notes || (arg == "--note" && notes->size() != 1))
                    return usage(arg + " takes keys from 0 to 127 (at most 16, separated by commas)");
                o.notes = *notes;
            } else if (arg == "--velocity") {
                const auto v = number<int>(value);
                if (!v || *v < 1 || *v > 127)
                    return usage("--velocity takes a velocity from 1 to 127");
                o.velocity = *v;
            } else if (arg == "--hold" || arg == "--tail") {
                const auto s = number<double>(value);
                if (!s || !(*s >= 0.0 && *s <= 600.0))
                    return usage(arg + " takes seconds from 0 to 600");
                (arg == "--hold" ? o.hold : o.tail) = *s;
            } else if (arg == "--rate") {
                const auto r = number<int>(value);
                if (!r || *r < 8000 || *r > 384000)
                    return usage("--rate takes samples per second from 8000 to 384000");
                o.rate = *r;
            } else {
                return usage("unknown option " + arg);
            }
        } else if (o.file.empty()) {
            o.file = arg;
        } else {
            return usage("takes one file");
        }
    }
    if (o.file.empty())
        return usage("needs a file");
    if (o.voice == 0)
        return usage("needs --voice N");
    if (o.output.empty())
        return usage("needs -o OUT.wav");

    ConsoleUi console(ConsoleUi::Policy::FirstButton, false);
    CliUi ui(console);
    Session session(ui, programDirectory);
    clsVoiceNames names(session);
    auto list = names.CreateVoiceListandFileImage(o.file, false);
    if (!list)
        return 1;
    if (o.voice > list->voiceCount()) {
        std::cerr << "toneloft-cli render: " << o.file << " holds " << list->voiceCount() << " voices, not "
                  << o.voice << "\n";
        return 1;
    }
    clsVoiceData voiceData(ui);
    ByteString voice;
    std::int32_t crc = 0;
    if (!voiceData.GetVoiceData(list->rsmfimage(), o.voice, list->FileType, clsVoiceData::GetVoiceMode::StringOnly, 0,
                                voice, crc)
        || voice.size() < synth::Patch::kSize) {
        std::cerr << "toneloft-cli render: voice " << o.voice << " of " << o.file << " could not be read\n";
        return 1;
    }

    synth::FmEngine engine(o.rate);
    std::vector<std::uint8_t> bytes(voice.begin(), voice.begin() + static_cast<std::ptrdiff_t>(synth::Patch::kSize));
    engine.loadVoice(bytes);
    const auto holdFrames = static_cast<std::size_t>(o.hold * o.rate + 0.5);
    const auto tailFrames = static_cast<std::size_t>(o.tail * o.rate + 0.5);
    std::vector<float> sound(holdFrames + tailFrames);
    for (const int note : o.notes)
        engine.noteOn(note, o.velocity);
    engine.render(sound.data(), holdFrames);
    for (const int note : o.notes)
        engine.noteOff(note);
    engine.render(sound.data() + holdFrames, tailFrames);

    // Several notes of a loud voice can pass full scale: the whole sound is
    // then turned down to fit rather than clipped.
    float peak = 0.0f;
    for (const float v : sound)
        peak = std::max(peak, std::abs(v));
    double gainDb = 0.0;
    if (peak > kFullScale) {
        const float gain = kFullScale / peak;
        for (float& v : sound)
            v *= gain;
        gainDb = 20.0 * std::log10(gain);
    }

    std::string error;
    if (!writeWav(o.output, sound, o.rate, error)) {
        std::cerr << "toneloft-cli render: " << o.output << " could not be written: " << error << "\n";
        return 1;
    }
    std::cout << o.output << "\t" << o.rate << " Hz\t" << sound.size() << " frames";
    if (gainDb < 0.0)
        std::cout << "\tturned down " << std::fixed << std::setprecision(1) << -gainDb << " dB to fit";
    std::cout << "\n";
    return 0;
}

} // namespace toneloft::cli
