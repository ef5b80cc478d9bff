// The application's message boxes as the framework's user prompt, so that
// the uninstallation and the file-type registration ask their questions
// with the described message boxes ("UninstallConfirmation", ...).
#pragma once

namespace vorn {

// Installs the prompt for the rest of the process (idempotent).
void UseMessageBoxesForUserPrompts() noexcept;

}  // namespace vorn
