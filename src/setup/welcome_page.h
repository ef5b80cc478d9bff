// The welcome tab: greets the user with the product's name, shows the one
// release notice that matches the distribution, and opens the licence tab
// when its instructions link is followed.
#pragma once

#include "ui/page.h"

namespace vorn {

class WelcomePage : public Page {
 public:
  // The link without an address ("Instructions") lands here.
  void Navigate(const char16_t* address) noexcept override;

 protected:
  Result OnCreated() noexcept override;
};

}  // namespace vorn
