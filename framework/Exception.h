#pragma once
#include <string>

// Base of every error the file and automation layers raise in the middle of
// reading or writing.  Whoever catches one shows GetErrorMessage() to the user.
class CException {
public:
    virtual ~CException() = default;
    // The error's own text; empty when it carries none.
    virtual std::string GetErrorMessage() const = 0;
};

// A failed read, write, seek or close of a file: carries the operating
// system's error code and its text.
class CFileException : public CException {
public:
    CFileException(unsigned long osError, std::string fileName);
    unsigned long GetOsError() const { return m_osError; }
    const std::string& GetFileName() const { return m_fileName; }
    std::string GetErrorMessage() const override;

private:
    unsigned long m_osError;
    std::string m_fileName;
};
