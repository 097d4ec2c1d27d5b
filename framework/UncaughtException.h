#pragma once

// Tells the user about an exception that no command caught and that reached
// a message handler: the exception's own text in a box with the stop icon,
// "Internal application error." when it has none.  Call only inside a catch
// block; the window then goes on with its next message.
void ReportUncaughtException() noexcept;
