#pragma once

// The application object: fetches and dispatches one message at a time and
// runs idle processing between messages.  One exists per run of the program;
// long operations on the user-interface thread call it through PumpMessages.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Fetches and dispatches one message; false when it was the quit message.
    virtual bool PumpMessage();
    // Idle work for the count-th call since the queue ran empty; true while
    // more idle time is wanted.
    virtual bool OnIdle(long count);

    // The running application object, or a plain default one when the
    // program made none (tools and tests).
    static CWinApp& Current();

private:
    CWinApp* m_previous;
};
