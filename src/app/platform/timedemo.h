// --timedemo FILE: a recorded game played on the real display as fast as
// the machine can draw it.
#pragma once

#include <string>

class Platform;

// Plays the recording through `real`'s display with the recorded input and
// a simulated clock, then prints frames, seconds, frames per second and the
// end statistics on stdout. Returns main's status: 0, or 2 when the file is
// missing or damaged.
int RunTimedemo(const std::string& path, Platform* real);
