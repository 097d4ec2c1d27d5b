#pragma once
#include "Controls.h"

// Moves a long run's progress bar.  Each move of the bar repaints it at once,
// under Wine a trip to the window system of about half a millisecond: moved
// at every one of 65,535 records that was a hundred times the run itself.  So
// the bar is moved only where its drawn length changes (at half-pixel steps
// of its width), which looks the same; the position last asked for is set
// when the run ends, so that the bar ends where it did before.
class CProgressSteps {
public:
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
    int m_wanted = 0;
    int m_shown = 0;
    bool m_asked = false;
};
