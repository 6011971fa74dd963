// The one way the program ends on its own: tear down the toolkit if it is up, give the client
// two seconds to take what was written, and exit with the given status.
#pragma once

// Destroys the toolkit's application context. The toolkit shell registers one while its context
// exists and clears it (null) when the context is gone.
using ApplicationContextDestroyer = void (*)();
void SetApplicationContextDestroyer(ApplicationContextDestroyer destroyer) noexcept;

// The reason is for the reader of the code and of a debugger; it is never printed. A status of
// -1 ends the process with 255.
[[noreturn]] void ExitApplication(int status, const char* reason);
