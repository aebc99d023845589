// The console runner's work, apart from the system it runs on: reading its
// command line, loading a script (and a VBScript file), calling a function
// and reporting the error fields and the global variables.
#pragma once

#include <ostream>
#include <string>
#include <vector>

class CScriptEngine;

struct CRunnerOptions {
  std::string m_strScript;  // the VexScript file
  std::string m_strFunction = "Main";
  std::string m_strVBScript;  // a VBScript file for CallVBSFunction, or empty
  std::string m_strIncludeDir;  // the folder "#include" lines are read from
  std::string m_strCaption;  // the default caption of MessageBox
};

// Exit codes of the runner.
enum : int { kRunSucceeded = 0, kRunScriptError = 1, kRunCannotStart = 2 };

// The options from the arguments after the program's name; false with the
// reason when they are wrong.
bool ParseRunnerArguments(const std::vector<std::string>& arguments, CRunnerOptions& options, std::string& error);
std::string RunnerUsage();

// Loads the files through the platform seam, calls the function unless the
// load failed, and writes the report. Returns the exit code.
int RunVexScript(const CRunnerOptions& options, std::ostream& out);

// The report: the call's result, the four error fields and every global
// variable with its kind and text, one line each.
void WriteRunReport(CScriptEngine& engine, int result, std::ostream& out);
