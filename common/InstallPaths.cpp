#include "common/InstallPaths.h"

#include "common/FileReplacing.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace toneloft {

namespace fs = std::filesystem;

namespace {

bool present(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

} // namespace

std::string FindInstalledFile(const std::string& programDirectory, const std::string& name)
{
    const fs::path beside = fs::path(programDirectory) / name;
    if (present(beside))
        return beside.string();
    const fs::path shared = fs::path(programDirectory) / kInstalledDataFolder / name;
    if (present(shared))
        return shared.lexically_normal().string();
    return beside.string();
}

bool RunsInstalled(const std::string& programDirectory)
{
    const fs::path folder(programDirectory);
    return !present(folder / "DXInit.dat") && present(folder / kInstalledDataFolder / "DXInit.dat");
}

bool IsWritableFolder(const std::string& folder)
{
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataFolder()
{
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && fs::path(xdg).is_absolute())
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        return {};
    return (base / "Toneloft" / "Toneloft").string();
}

int CleanUpAfterKilledSaves(const std::string& userDataFolder, const std::string& dataDirectory)
{
    SetPendingSaveFolder(userDataFolder.empty() ? std::string()
                                                : (fs::path(userDataFolder) / "pending-saves").string());
    return CleanLeftoverSaves(dataDirectory);
}

} // namespace toneloft
