#pragma once

#include <string>

namespace platform {

// Full path of the running executable (from /proc/self/exe).
std::string ExeFileName();

// Folder of the running executable, with a trailing "/". Every file name of the system is relative to it.
std::string ExeDir();

// Makes the process behave as if its executable were at `path` (tests that run a program's code in a
// temporary folder). An empty path returns to the real executable.
void OverrideExeFileName(const std::string& path);

// Command-line parameters with the class library's semantics: ParamStr(0) is the executable's full path,
// ParamStr(1..ParamCount()) are the arguments, any other index gives "".
int ParamCount();
std::string ParamStr(int index);

// Sets the arguments that ParamStr reports (called from main, or by tests).
void SetCommandLine(int argc, const char* const* argv);

// Resolves a file name as the system spells it: "\" becomes "/", and each path component that does not
// exist as spelled is matched case-insensitively against its folder's entries. Returns the name with "\"
// turned into "/" when nothing matches, so the caller's error names the file the system asked for.
std::string ResolvePath(const std::string& name);

}  // namespace platform
