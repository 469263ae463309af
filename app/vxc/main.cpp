// vxc: converts the DX7 voices named in ./vxc.ini into SY77 voices, using the
// template syinit.dat beside this program (installed: in ../share/toneloft). Takes no arguments; the outcome is
// written into line 5 of vxc.ini and is also the exit status.

#include "common/InstallPaths.h"
#include "vxc/Converter.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path programDirectory(const char* argv0)
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path();
    return fs::absolute(fs::path(argv0), ec).parent_path();
}

} // namespace

int main(int, char* argv[])
{
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    if (ec)
        return toneloft::vxc::NoSettings;
    const fs::path templateFile = toneloft::FindInstalledFile(programDirectory(argv[0]).string(), "syinit.dat");
    return toneloft::vxc::RunConverter(here, templateFile.parent_path());
}
