#include "SystemError.h"

#include <cerrno>
#include <cstring>

std::string SystemErrorText(unsigned long code) { return std::strerror(static_cast<int>(code)); }

unsigned long LastSystemError() { return static_cast<unsigned long>(errno); }
