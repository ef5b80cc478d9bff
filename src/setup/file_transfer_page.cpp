#include "setup/file_transfer_page.h"

#include <new>

#include "ui/page.h"

namespace vorn {

// Placeholder until the transfer logic lands: a plain page.
Page* CreateFileTransferPage() noexcept {
  return new (std::nothrow) Page();
}

}  // namespace vorn
