#pragma once
// The desktop shortcut to the program, rewritten at every login attempt.
// On Linux a freedesktop launcher "Pemvora.desktop"; a Windows build would add a
// shell-link writer behind the same interface.

#include <filesystem>
#include <optional>
#include <string>

namespace pemvora::desktop {

struct ShortcutSpec {
    std::string name = "Pemvora";             // file name without extension, and the launcher's Name
    std::filesystem::path target;             // the program's full file name
    std::filesystem::path workingFolder;      // the program's folder
    std::string description = "Pemvora";
    std::filesystem::path icon;               // an icon file
};

class ShortcutWriter {
public:
    virtual ~ShortcutWriter() = default;
    // Writes or overwrites the shortcut; false when it could not. Never throws.
    virtual bool write(const ShortcutSpec& spec) noexcept = 0;
};

// The user's desktop folder: XDG_DESKTOP_DIR from the user-dirs configuration
// ($XDG_CONFIG_HOME/user-dirs.dirs, else ~/.config/user-dirs.dirs), else ~/Desktop.
// Nothing is created; nullopt when HOME is unknown.
std::optional<std::filesystem::path> desktopFolder();

class FreedesktopShortcutWriter : public ShortcutWriter {
public:
    bool write(const ShortcutSpec& spec) noexcept override;
};

// The shortcut for the running program: target and folder of its executable.
ShortcutSpec shortcutForThisProgram(const std::filesystem::path& icon);

} // namespace pemvora::desktop
