#pragma once

// Ends the process at once: no event handler, destructor or nested event loop
// runs afterwards. The operating system releases open devices and files.
[[noreturn]] void EndProgram();
