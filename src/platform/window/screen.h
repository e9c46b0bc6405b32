// The screen: visible top-level surfaces composed in z-order into the backend's framebuffer, and
// only the areas that changed presented.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "window/window_table.h"

namespace platform {

// Gives a top-level window a surface of its rectangle's size, keeping what fits of the old one.
void fit_surface(Window& top_level);

// An area of the screen (screen coordinates) whose content changed without any surface changing:
// a window appeared, went or moved there. It is composed with the next frame, from the windows as
// they are then: a window shown and painted at once is composed once, not blank and then again.
void screen_expose(const Rect& area);

// A visible top-level window is leaving `area` (screen coordinates) by hiding, moving or going:
// the screen there is composed again, and the windows below it are told to paint what they show
// there, as programs expect after a box closes over them.
void screen_uncover(const Window& leaving, const Rect& area);

// The display window carries the name of the application's main window, as task bars show it,
// and the program's icon.
void name_the_display();

// Brings the framebuffer up to date with the windows; what changed waits to be presented.
void compose_changes();

// Reads every device event waiting now into the platform's buffer, then presents what changed: what
// every call does that may be the program's only call for a while (the queue calls, the clock
// calls, the key state).
void read_device_events_then_present();

// Composes whatever changed since the last time and presents it unless the last present was less
// than a refresh ago; then it waits for the next present. Cheap when nothing changed.
void present_changes();

// Milliseconds until a waiting frame is due: a wait for input must end by then. -1 when none waits.
std::int64_t ms_until_present();

// The program took a message from its queue. After pointer input, the next frame is presented as
// soon as no more pointer input waits, whatever the refresh: the pen's batch of moves is shown at
// once, one present a batch. Any other message ends that, so an animation keeps its pacing.
void screen_message_taken(bool pointer_input);

// As present_changes, but a frame that waits holds the caller until the next refresh, reading
// device events meanwhile: the program reads the clock between the frames of an animation, and a
// display shows one frame a refresh, so every frame it draws is seen. Pointer input waiting to be
// taken ends the hold: a stroke draws its points as fast as they come.
void present_holding_clock();

}  // namespace platform
