#pragma once
// The negative results of the install library stand-in's entries.
enum InstAideError : int {
    kInstAideNoPalmDesktop = -1,  // no root registered, or no readable users.txt in it
    kInstAideUnknownUser = -2,    // no user of that name, or the index is past the last user
    kInstAideBufferTooSmall = -3, // the text and its NUL do not fit the caller's buffer
    kInstAideFileMissing = -4,    // the file to install is not there (or is a folder)
    kInstAideBadArgument = -5,    // a pointer the entry needs is null
    kInstAideFailed = -6,         // the file could not be queued, or another failure
};
