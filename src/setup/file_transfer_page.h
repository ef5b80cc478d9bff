// The page that runs the installation proper: a worker thread removes a
// previous installation, copies the file list into the install folder,
// undoes the copy on failure or cancellation or records the installation,
// and posts the page to show next to the main window.
#pragma once

namespace vorn {

class Page;

// A new, not yet described transfer page (the caller owns it and loads the
// description "FileTransferPage" into it); null when out of memory.
Page* CreateFileTransferPage() noexcept;

}  // namespace vorn
