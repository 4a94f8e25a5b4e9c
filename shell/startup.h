#pragma once

// Bringing up the windowing system, with plain words where it fails.
//
// Where the user has not chosen a platform, the program runs on X11 whenever an
// X display is there (XWayland included): only there do its fixed place and
// its stay-on-top hint hold. Where no platform starts, the program ends with
// one line that says why (no display, no Wayland compositor for a Wayland asked
// for, an empty or unknown platform name: then a second line lists the plugins
// there are; a plugin there that cannot be loaded: then Qt's reason, naming
// the library the system could not load, comes before that list), and status
// 1, instead of an abort; the platform's own warnings before it are shown only
// where Qt's diagnostics were asked for. Any other fatal message of Qt's during
// the start follows the program's line as Qt wrote it.
namespace Startup {

// Before the application object is created.
void prepare(int argc, char **argv);

// Right after it is created.
void finish();

} // namespace Startup
