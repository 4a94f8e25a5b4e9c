#pragma once

// Bringing up the windowing system, with plain words where it fails.
//
// Where the user has not chosen a platform, the program runs on X11 whenever an
// X display is there (XWayland included): only there do its fixed place and
// its stay-on-top hint hold. Until the application object stands, Qt's
// messages are held back; a failure then ends the program with one line that
// says what failed, and status 1, instead of an abort.
namespace Startup {

// Before the application object is created.
void prepare(int argc, char **argv);

// Right after it is created.
void finish();

} // namespace Startup
