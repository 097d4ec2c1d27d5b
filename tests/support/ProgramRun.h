#pragma once
// Runs one of our programs as a separate process and gathers what it prints.
#include <string>

struct ProgramRun {
    std::string output;     // standard output and error, CR LF turned into LF
    unsigned long exitCode = 99;  // 99 also when the program could not be started
};

// program: a full path; arguments: the rest of the command line as written.
ProgramRun RunProgram(const std::string& program, const std::string& arguments);
// The folder of the running test program, where the build puts every program.
std::string ProgramFolder();
