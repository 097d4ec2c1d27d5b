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

// An automation call that the application answered with an error of its own:
// carries the application's description of it.
class COleDispatchException : public CException {
public:
    COleDispatchException(std::string description, long status);
    const std::string& GetDescription() const { return m_description; }
    long GetStatus() const { return m_status; }
    std::string GetErrorMessage() const override;

private:
    std::string m_description;
    long m_status;
};

// Any other failed automation call (no application, a refused call, a wrong
// argument): carries the status code.
class COleException : public CException {
public:
    explicit COleException(long status);
    long GetStatus() const { return m_status; }
    // The system's text for the status, or the status in hexadecimal when the
    // system has none.
    std::string GetErrorMessage() const override;

private:
    long m_status;
};
