#pragma once
#include "Controls.h"

// Moves a long run's progress bar.  Each move of the bar repaints it at once,
// under Wine a trip to the window system of about half a millisecond: moved
// at every one of 65,535 records that was a hundred times the run itself.  So
// the bar is moved only where its drawn length changes (at half-pixel steps
// of its width), which looks the same, and at most once a frame: even the
// half-pixel steps of a fast run, 800 repaints in a fraction of a second,
// doubled its time, and the eye sees no more than a frame's worth of them.
// A slow run, one step a frame or less, shows every step at once.  The
// position last asked for is set when the run ends, so that the bar ends
// where it did before.
class CProgressSteps {
public:
    // 50 moves a second: as smooth as the screen shows them.
    static constexpr unsigned long kFrameMs = 20;

    // bar may be null: then nothing is shown.  Sets the bar's range.
    CProgressSteps(CProgressCtrl* bar, int lower, int upper);
    ~CProgressSteps();
    CProgressSteps(const CProgressSteps&) = delete;
    CProgressSteps& operator=(const CProgressSteps&) = delete;

    void SetPos(int position);

private:
    long long StepOf(int position) const;

    CProgressCtrl* m_bar;
    int m_lower;
    long long m_span;
    long long m_halfPixels = 0;
    long long m_shownStep = -1;
    unsigned long m_shownAt = 0;  // GetTickCount at the last move
    int m_wanted = 0;
    int m_shown = 0;
    bool m_asked = false;
};
