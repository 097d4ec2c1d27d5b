#pragma once

// Dispatches every waiting window message and then runs the application's
// idle processing, so that the dialog stays alive during a long run on the
// user-interface thread.  0 to go on; -1 when the application has been told
// to quit (the quit message is posted again for the main loop).
int PumpMessages();
