// The installer's application start, run by the program entry before any
// module: its data files, its Application description, the analytics, the
// framework's texts, its taskbar identity and its command line.
#pragma once

namespace vorn {

// In this order: the installer's documents are registered with the
// resource manager; the Application description is read (without one the
// program quits with exit code 0 and nothing else runs); the analytics
// tracker is created; the framework's string files are registered; the
// AppUserModelID is set to the UUID text; the window toolkit's controls and
// message-box prompts are made ready; "Quiet", then the other switches in
// command-line order.
void RunSetupStart() noexcept;

// Registers PlatformModule's successor: SetupModule.
void RegisterSetupModules() noexcept;

}  // namespace vorn
