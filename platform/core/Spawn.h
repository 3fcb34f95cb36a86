#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {

// The standard streams of a started program.
enum class ChildStreams {
  Inherited,  // the caller's
  // Its own: standard input from /dev/null; output and errors to a journal stream of its own when the
  // caller's standard error goes to the journal (under systemd), else to /dev/null. So the program
  // neither holds the caller's streams open after the caller ends nor fills them.
  Own,
};

// One program to start. Its arguments go to it as they are: never through a shell command line.
struct SpawnRequest {
  std::string program;                   // a path, or a name without "/" looked up in PATH; also argv[0]
  std::vector<std::string> arguments;    // argv[1] on
  std::string directory;                 // the child's working directory; empty keeps the caller's
  std::vector<std::string> environment;  // "NAME=value" entries that replace or add to the caller's
  ChildStreams streams = ChildStreams::Inherited;  // SpawnDetached only
};

// Every child starts with the default signal dispositions and an empty signal mask (the service host
// blocks its control signals), keeps no descriptor of ours beyond 0, 1 and 2, and runs a file that has
// the run bit but no interpreter line through /bin/sh, as a shell would.

// Starts the program without waiting for it, in a session of its own, as a grandchild that belongs to
// init (never a zombie of ours). Returns 0 once the program runs, else the errno value of the failure
// (the program missing or not executable, the directory missing, no resources).
int SpawnDetached(const SpawnRequest& request);

// Runs the program and waits for it to end. `error` is the errno value of a failed start (then
// `exitCode` means nothing); `exitCode` is -1 when a signal ended the program.
struct SpawnResult {
  int error = 0;
  int exitCode = -1;
};
SpawnResult SpawnAndWait(const SpawnRequest& request);

// Runs the program with standard input empty and captures its standard output and error, waiting on
// the platform clock at most `timeout`; a program still running then is killed (SIGKILL) and reaped,
// and `timedOut` is set. `error` and `exitCode` as for SpawnAndWait.
struct SpawnCapture {
  int error = 0;
  int exitCode = -1;
  bool timedOut = false;
  std::string standardOutput;
  std::string standardError;
};
SpawnCapture SpawnAndCapture(const SpawnRequest& request, std::chrono::milliseconds timeout);

}  // namespace platform
