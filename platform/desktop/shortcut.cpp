#include "platform/desktop/shortcut.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace pemvora::desktop {

namespace fs = std::filesystem;

namespace {

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// Reads XDG_DESKTOP_DIR="$HOME/Desktop" style lines; the value may start with $HOME.
std::optional<fs::path> desktopFromUserDirs(const fs::path& file, const fs::path& home)
{
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_DESKTOP_DIR=";
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        std::string value = line.substr(start + key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) return home / fs::path(value.substr(5)).relative_path();
        if (!value.empty() && value.front() == '/') return fs::path(value);
        return std::nullopt;   // relative paths are not allowed in user-dirs.dirs
    }
    return std::nullopt;
}

// Desktop entry values escape backslashes, and Exec arguments need quoting.
std::string execQuoted(const std::string& path)
{
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string escaped(const std::string& value)
{
    std::string out;
    for (char c : value) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

} // namespace

std::optional<fs::path> desktopFolder()
{
    const std::string home = env("HOME");
    if (home.empty()) return std::nullopt;
    const std::string configHome = env("XDG_CONFIG_HOME");
    const fs::path config = configHome.empty() ? fs::path(home) / ".config" : fs::path(configHome);
    if (auto d = desktopFromUserDirs(config / "user-dirs.dirs", home)) return d;
    return fs::path(home) / "Desktop";
}

bool FreedesktopShortcutWriter::write(const ShortcutSpec& spec) noexcept
{
    try {
        const auto folder = desktopFolder();
        std::error_code ec;
        if (!folder || !fs::is_directory(*folder, ec)) return false;
        const fs::path file = *folder / (spec.name + ".desktop");
        std::ostringstream text;
        text << "[Desktop Entry]\n"
             << "Type=Application\n"
             << "Version=1.0\n"
             << "Name=" << escaped(spec.name) << '\n'
             << "Comment=" << escaped(spec.description) << '\n'
             << "Exec=" << escaped(execQuoted(spec.target.string())) << '\n'
             << "Path=" << escaped(spec.workingFolder.string()) << '\n'
             << "Icon=" << escaped(spec.icon.string()) << '\n'
             << "Terminal=false\n"
             << "Categories=Office;Finance;\n";
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            if (!out) return false;
            out << text.str();
            if (!out.flush()) return false;
        }
        fs::permissions(file,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec,
                        fs::perm_options::replace, ec);
        return !ec;
    } catch (...) {
        return false;
    }
}

ShortcutSpec shortcutForThisProgram(const fs::path& icon)
{
    ShortcutSpec spec;
    std::error_code ec;
    spec.target = fs::read_symlink("/proc/self/exe", ec);
    spec.workingFolder = spec.target.parent_path();
    spec.icon = icon;
    return spec;
}

} // namespace pemvora::desktop
