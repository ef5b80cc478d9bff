// A program on the framework entry that reports one screen view and a few
// events through the usage tracker, for end-to-end tests against a local
// HTTP server. Arguments, in order ("-" for none):
//   ENDPOINT TRACKING_ID COMPANY SAMPLE_RATE STORED_CID SCREEN EVENTS OUTPUT
// STORED_CID is written to the registry as "cid" before the tracker starts
// ("delete" removes it). OUTPUT receives the client id the run used.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../../application/support/console_window.h"
#include "analytics/usage_tracker.h"
#include "application/app_module.h"
#include "application/application_core.h"
#include "application/application_window.h"
#include "application/program_entry.h"
#include "foundation/registry_key.h"

namespace {

using vorn::ApplicationCore;
using vorn::Result;
using vorn::String;

const char* argument[9] = {};
float sample_rate = 1.0f;

String Text(const char* utf8) {
  return vorn::Utf8ToString(utf8);
}
bool Given(const char* value) {
  return value != nullptr && std::strcmp(value, "-") != 0;
}

Result ReadSampleRate(float& rate) {
  if (!Given(argument[4])) return vorn::kNotFound;
  rate = sample_rate;
  return vorn::kOk;
}

class EventModule : public vorn::AppModule {
 public:
  Result Initialize() noexcept override { return vorn::kOk; }
  bool IsIdle() noexcept override { return false; }
  Result Update(float) noexcept override {
    vorn::UsageTracker* tracker = vorn::UsageTracker::Instance();
    const int events = Given(argument[7]) ? std::atoi(argument[7]) : 0;
    for (int i = 0; i < events && tracker != nullptr; ++i) {
      tracker->ReportEvent(u"Install", i % 2 == 0 ? u"Success" : u"Canceled");
    }
    ApplicationCore::Get().RequestQuit(0, false);
    return vorn::kOk;
  }
  void Shutdown() noexcept override {}
};

ConsoleWindow window;
EventModule events;

void StoreClientId(const String& company) {
  if (!Given(argument[5])) return;
  vorn::RegistryKey key;
  key.SetRoot(vorn::RegistryKey::kCurrentUser, String(u"Software\\" + company).Text());
  if (std::strcmp(argument[5], "delete") == 0) {
    key.DeleteValue(u"cid");
  } else {
    key.WriteText(u"cid", Text(argument[5]).Text());
  }
}

void ApplicationStart() {
  ApplicationCore& core = ApplicationCore::Get();
  vorn::ApplicationDescription& description = core.Description();
  description.name = u"Vorn Probe";
  description.version = u"1.5";
  description.company = Given(argument[3]) ? Text(argument[3]) : String();
  description.tracking_id = Given(argument[2]) ? Text(argument[2]) : String();
  description.multiple_instances_allowed = true;
  StoreClientId(description.company);
  if (Given(argument[4])) sample_rate = static_cast<float>(std::atof(argument[4]));
  vorn::UsageTracker::SetSampleRateReader(&ReadSampleRate);
  vorn::UsageTracker::SetCollectionEndpoint(Text(argument[1]).Text());
  vorn::UsageTracker::Create();
  if (vorn::UsageTracker* tracker = vorn::UsageTracker::Instance()) {
    tracker->SetScreenName(Given(argument[6]) ? Text(argument[6]).Text() : u"Install");
    if (FILE* out = std::fopen(argument[8], "wb")) {
      const vorn::Utf8Text id(tracker->ClientId());
      std::fprintf(out, "%s\n", id.Text());
      std::fclose(out);
    }
  }
  core.SetMainWindow(&window);
}

void RegisterModules() {
  ApplicationCore::Get().RegisterModule(events);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 9) {
    std::fprintf(stderr,
                 "usage: analytics_probe ENDPOINT TRACKING_ID COMPANY SAMPLE_RATE "
                 "STORED_CID SCREEN EVENTS OUTPUT\n");
    return 2;
  }
  for (int i = 0; i < argc; ++i) argument[i] = argv[i];
  vorn::ProgramHooks hooks;
  hooks.application_start = &ApplicationStart;
  hooks.register_modules = &RegisterModules;
  return vorn::RunProgram(hooks);
}
