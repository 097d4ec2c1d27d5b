#include "Exception.h"

#include "SystemError.h"

#include <utility>

CFileException::CFileException(unsigned long osError, std::string fileName)
    : m_osError(osError), m_fileName(std::move(fileName)) {}

std::string CFileException::GetErrorMessage() const { return SystemErrorText(m_osError); }
