#include "Exception.h"

#include "SystemError.h"

#include <cstdio>
#include <utility>

CFileException::CFileException(unsigned long osError, std::string fileName)
    : m_osError(osError), m_fileName(std::move(fileName)) {}

std::string CFileException::GetErrorMessage() const { return SystemErrorText(m_osError); }

COleDispatchException::COleDispatchException(std::string description, long status)
    : m_description(std::move(description)), m_status(status) {}

std::string COleDispatchException::GetErrorMessage() const {
    return m_description.empty() ? COleException(m_status).GetErrorMessage() : m_description;
}

COleException::COleException(long status) : m_status(status) {}

std::string COleException::GetErrorMessage() const {
    const std::string text = SystemErrorText(static_cast<unsigned long>(m_status));
    if (!text.empty()) return text;
    char code[32];
    std::snprintf(code, sizeof code, "Automation error 0x%08lX", static_cast<unsigned long>(m_status));
    return code;
}
