// The pace of the demo's game loop.
#pragma once

// Waits one frame (about 1/60 s), so a real client library gets real time
// between steamCallBacks calls as it would in a game.
void WaitOneFrame();
