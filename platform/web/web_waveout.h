// The browser's audio device: WebAudio plays the blocks, each one copied out and handed
// back to the mixing thread at once. There are no threads on the page, so the blocks are
// taken, and the mixing thread given its turns to refill them, in the main loop's waits.
#pragma once

// Puts the WebAudio device in force. Before the page's first key press or click the
// browser keeps audio stopped: the blocks then pass in silence, at the pace they would play.
void UseWebWaveOut();
// Hands the device what it needs to stay this far ahead of the browser's playing.
void PumpWebAudio();
