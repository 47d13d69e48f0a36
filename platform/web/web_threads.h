// Threads on a page that has only one: every thread the program starts (the sound
// system's mixing thread) runs as a fiber beside the main loop, and each takes its turn
// when the other waits. The main loop gives its turns away in its own waits.
#pragma once

// Lets every other thread run until it waits again (called by the main loop's waits).
// Returns at once when there is no other thread, or when called from one.
void RunOtherThreads();
