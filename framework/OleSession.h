#pragma once
#include <ole2.h>

// OLE for automation (the spreadsheet application) on this thread, for as
// long as the object lives.
class COleSession {
public:
    COleSession() : m_initialised(SUCCEEDED(OleInitialize(nullptr))) {}
    ~COleSession() {
        if (m_initialised) OleUninitialize();
    }
    COleSession(const COleSession&) = delete;
    COleSession& operator=(const COleSession&) = delete;

private:
    bool m_initialised;
};
