#pragma once
// tarvik.exe is a program with windows: started from the Start menu, a
// shortcut or at logon, no console opens for it. What it prints (--headless,
// --help, --version, --print-settings, a command line it cannot read) goes
// to the handles it was given (a pipe, a file: the parent's redirection),
// else to the console of the prompt that started it.

namespace tarvik::win32 {

// Standard output and standard error, each that has no handle of its own,
// are opened on the parent's console. Nothing when there is none.
void useParentConsole();

}  // namespace tarvik::win32
