// The one place where the client layer ends the process (no client library
// could be loaded). The desktop program may install its own handler, for
// example to close its windows first; tests observe the exit in a child process.
#pragma once

using ProcessExitHandler = void (*)(int exitCode);

// Installs handler; a null handler restores the default, std::exit.
void SetProcessExitHandler(ProcessExitHandler handler);

// Calls the installed handler. A handler that returns leaves the caller to
// carry on in an orderly way without what it failed to get.
void EndProcess(int exitCode);
