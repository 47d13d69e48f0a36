// The game's global objects (surfaces, sound system, samples, module): built in their
// fixed order once the backend is chosen, torn down in reverse at the end of a run.
#pragma once

// Builds every global object afresh (tearing down any earlier ones first).
void ConstructGlobalObjects();
void DestroyGlobalObjects();
