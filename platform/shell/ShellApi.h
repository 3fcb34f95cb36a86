#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// A window handle (defined with the messages of platform/ui, which stands on the shell): the shell only
// passes it on, so it needs no more than the type.
enum class HWND : uint64_t;

// Window show codes as the system passes them to the shell.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;

// The shell's result codes: a value above 32 means the file was started.
inline constexpr int ERROR_FILE_NOT_FOUND = 2;
inline constexpr int ERROR_PATH_NOT_FOUND = 3;
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int SE_ERR_NOASSOC = 31;

// Performs `verb` ("open"; an empty verb means "open", every other verb has no association) on `file`
// and returns a value above 32 once it started, or one of the result codes above. Nothing is waited for.
//
// `file` is resolved with ResolvePath; a relative name is taken from `directory` when one is given, else
// from the executable's folder, and a bare name found in neither is looked up on PATH. Then:
// - an executable file runs directly, with `parameters` split into its arguments (SplitCommandLine);
// - a script without the run bit (.sh, .bat, .cmd) runs through /bin/sh with the same arguments;
// - a folder, any other file, or a URL ("scheme:..."), goes to xdg-open as its one argument, and
//   `parameters` are not used; without xdg-open the result is SE_ERR_NOASSOC.
// - a bare "notepad.exe" found nowhere (the system's text editor, absent here) opens `parameters`, one
//   pair of surrounding quotes removed, as one file name (resolved as `file` is, without PATH) through
//   xdg-open, so that the desktop's editor shows it; the file is never run, and must be a file.
// `directory`, when given, is the program's working directory (ERROR_PATH_NOT_FOUND when it is missing).
// `showCode` reaches the program in its environment (Launcher.h); the owner window is not used.
int ShellExecute(HWND ownerWindow, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showCode);

// The same with no owner window, spelled 0 or nullptr as the system's callers do.
inline int ShellExecute(std::nullptr_t, const std::string& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory, int showCode) {
  return ShellExecute(HWND{}, verb, file, parameters, directory, showCode);
}

}  // namespace platform
