// The converter's reading of its settings (vxc.ini) and of the source they
// name: the input is the settings text, a zero byte, then the source's bytes.
// Every voice read is converted on the template it ships with.
#include "vxc/Converter.h"
#include "vxc/VoiceConverter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

using namespace toneloft;

namespace {

vxc::SyVoice loadTemplate()
{
    std::ifstream in(TONELOFT_SOURCE_DIR "/vxc/data/syinit.dat", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!vxc::IsUsableTemplate(std::span<const std::uint8_t>(b, bytes.size())))
        std::abort();
    vxc::SyVoice t{};
    std::copy(b, b + t.size(), t.begin());
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const vxc::SyVoice syTemplate = loadTemplate();
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t split = std::min(all.find('\0'), all.size());
    const std::string_view ini = all.substr(0, split);
    const std::string_view source = split < all.size() ? all.substr(split + 1) : std::string_view();

    vxc::Settings settings;
    int code = -1;
    if (!vxc::ParseSettingsText(ini, settings, code)) {
        if (code != vxc::NoFileName && code != vxc::ConversionError)
            __builtin_trap();
        return 0;
    }
    const auto voices = vxc::ReadSourceVoices(source, settings.inputFileType);
    if (!voices)
        return 0;
    const std::vector<std::string> names = vxc::OutputFileNames(settings, voices->size());
    (void)vxc::ReportPath(names.back());
    const vxc::Conversion done = vxc::ConvertVoices(settings, *voices, syTemplate);
    // Every voice lands in one output, whole.
    std::size_t written = 0;
    for (const auto& file : done.files)
        written += file.size();
    if (done.files.size() != names.size() || written != voices->size() * vxc::kSyVoiceSize)
        __builtin_trap();
    return 0;
}
