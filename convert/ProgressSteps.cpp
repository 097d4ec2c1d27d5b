#include "ProgressSteps.h"

#include <windows.h>

CProgressSteps::CProgressSteps(CProgressCtrl* bar, int lower, int upper)
    : m_bar(bar), m_lower(lower), m_span(static_cast<long long>(upper) - lower) {
    if (m_bar == nullptr) return;
    m_bar->SetRange(lower, upper);
    RECT client = {};
    if (GetClientRect(m_bar->GetSafeHwnd(), &client)) m_halfPixels = 2LL * (client.right - client.left);
}

CProgressSteps::~CProgressSteps() {
    if (m_bar != nullptr && m_asked && m_shown != m_wanted) m_bar->SetPos(m_wanted);
}

long long CProgressSteps::StepOf(int position) const {
    return m_span > 0 ? (static_cast<long long>(position) - m_lower) * m_halfPixels / m_span : 0;
}

void CProgressSteps::SetPos(int position) {
    if (m_bar == nullptr) return;
    m_asked = true;
    m_wanted = position;
    const long long step = StepOf(position);
    if (step == m_shownStep) return;
    const unsigned long now = GetTickCount();
    if (m_shownStep >= 0 && now - m_shownAt < kFrameMs) return;
    m_bar->SetPos(position);
    m_shownStep = step;
    m_shownAt = now;
    m_shown = position;
}
