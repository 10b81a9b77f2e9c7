#pragma once
#include <string>

namespace tov {

// Where the program finds its own files and keeps the user's, on the
// conventions of a Linux desktop. No path of the machine that built the
// program is compiled in: its shared files are found beside it.

// The folder of the running program ("" when its own path cannot be read).
std::string ProgramFolder();

// <folder of the running program>/../share/tovana ("" when the program's
// own path cannot be read). An installed program finds its texts, layouts,
// cursors, help pages and sample recipes there; the build folder mirrors the
// same layout with links into the checkout.
std::string ProgramShareFolder();

// The folder of texts, layouts, cursors and help pages: $TOVANA_RESOURCES,
// else ProgramShareFolder().
std::string DefaultResourceFolder();

// The user's own data: $XDG_DATA_HOME/tovana, else ~/.local/share/tovana.
std::string UserDataFolder();

// The user's settings: $XDG_CONFIG_HOME/tovana, else ~/.config/tovana.
std::string UserConfigFolder();

// The user's cache: $XDG_CACHE_HOME/tovana, else ~/.cache/tovana. Made on
// first use with mode 0700. Working copies and cached tables are written
// there and read back, so a folder that is a symbolic link, belongs to
// someone else or that others may read or write is refused (HostError
// saying which and what to do) rather than used.
std::string UserCacheFolder();

} // namespace tov
