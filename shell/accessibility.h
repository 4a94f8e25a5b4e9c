#pragma once

// What a screen reader is told beyond what each widget says of itself: the
// window as a frame, the tab row with its tabs only, the panes by what they
// show, and the note of a failed copy as a notification.
namespace Accessibility {

// Installs the program's own accessible interfaces; call it before the
// window is made, as an object keeps the interface it was first given.
void install();

} // namespace Accessibility
