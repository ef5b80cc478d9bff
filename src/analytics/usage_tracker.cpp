#include "analytics/usage_tracker.h"

#include <new>

#include "analytics/client_identity.h"
#include "analytics/http_session.h"
#include "analytics/random_generator.h"
#include "application/application_core.h"
#include "foundation/url_escape.h"
#include "resources/preferences.h"

namespace vorn {

namespace {

UsageTracker* instance = nullptr;  // created and destroyed on the main thread
UsageTracker::SampleRateReader sample_rate_reader = nullptr;

String& Endpoint() noexcept {
  static String endpoint(u"" VORN_ANALYTICS_ENDPOINT);
  return endpoint;
}

Result ReadSampleRatePreference(float& rate) noexcept {
  return Preferences::Instance().GetFloat(u"/User/Local/AnalyticsSampleRate", &rate);
}

float ReadSampleRate() noexcept {
  float rate = 1.0f;
  const UsageTracker::SampleRateReader reader =
      sample_rate_reader != nullptr ? sample_rate_reader : &ReadSampleRatePreference;
  if (reader(rate) != kOk) return 1.0f;
  return rate;
}

}  // namespace

Result UsageTracker::Create() noexcept {
  if (instance != nullptr) return kAlreadyExists;
  UsageTrackerSetup setup;
  setup.poster = CreateHttpHitPoster(Endpoint().Text());
  setup.sample_rate = ReadSampleRate();
  ApplicationCore& core = ApplicationCore::Get();
  instance = new (std::nothrow) UsageTracker(core.Description(), setup);
  if (instance == nullptr) {
    delete setup.poster;
    return kOutOfMemory;
  }
  core.SetReporter(instance);
  return kOk;
}

UsageTracker* UsageTracker::Instance() noexcept {
  return instance;
}

void UsageTracker::Destroy() noexcept {
  UsageTracker* tracker = instance;
  instance = nullptr;
  if (ApplicationCore::Get().Reporter() == tracker) ApplicationCore::Get().SetReporter(nullptr);
  delete tracker;
  HttpSession::Close();
}

void UsageTracker::SetCollectionEndpoint(const char16_t* url) noexcept {
  Endpoint() = url;
}

const String& UsageTracker::CollectionEndpoint() noexcept {
  return Endpoint();
}

void UsageTracker::SetSampleRateReader(SampleRateReader reader) noexcept {
  sample_rate_reader = reader;
}

bool UsageTracker::RateSamples(float rate, uint32_t draw) noexcept {
  if (!(rate > 0.0f)) return false;
  if (rate >= 1.0f) return true;
  return static_cast<double>(rate) > static_cast<double>(draw) / 4294967296.0;
}

UsageTracker::UsageTracker(const ApplicationDescription& description,
                           const UsageTrackerSetup& setup) noexcept
    : queue_(setup.poster, setup.clock) {
  const float rate = setup.sample_rate;
  const bool drawn = rate > 0.0f && rate < 1.0f;
  const uint32_t draw = drawn ? (setup.draw != nullptr ? setup.draw() : NextRandom()) : 0;
  if (!RateSamples(rate, draw)) return;
  LockGuard guard(lock_);
  sampled_ = SetUpIdentity(description, setup) == kOk;
}

UsageTracker::~UsageTracker() {
  {
    LockGuard guard(lock_);
    if (screen_view_started_) EndScreenViewLocked();
    tracking_id_ = String();
    client_id_ = String();
    application_name_ = String();
    application_version_ = String();
    screen_name_ = String();
  }
  // Waits for the pending hits, the end hit included.
  queue_.Stop();
}

Result UsageTracker::SetUpIdentity(const ApplicationDescription& description,
                                   const UsageTrackerSetup& setup) noexcept {
  application_name_ = EscapeUrlText(description.name);
  if (application_version_.IsEmpty()) {
    application_version_ =
        description.tag.IsEmpty()
            ? EscapeUrlText(description.version)
            : EscapeUrlText(String(description.version + u' ' + description.tag));
  }
  tracking_id_ = description.tracking_id;
  if (tracking_id_.IsEmpty()) return kLocalizedTextMissing;
  const auto load = setup.load_client_id != nullptr ? setup.load_client_id : &LoadClientId;
  const Result result = load(description.company, client_id_);
  if (result != kOk) {
    client_id_ = String();
    return result;
  }
  user_language_ = UserLanguage();
  screen_resolution_ = ScreenResolution();
  return kOk;
}

String UsageTracker::ClientId() noexcept {
  LockGuard guard(lock_);
  return client_id_;
}

String UsageTracker::CommonPart() const noexcept {
  return u"v=1&tid=" + tracking_id_ + u"&cid=" + client_id_ + u"&an=" + application_name_ +
         u"&av=" + application_version_;
}

Result UsageTracker::SetApplicationVersion(const char16_t* version) noexcept {
  if (version == nullptr) return kInvalidArgument;
  LockGuard guard(lock_);
  application_version_ = EscapeUrlText(version);
  return kOk;
}

Result UsageTracker::SetScreenName(const char16_t* name) noexcept {
  if (name == nullptr) return kInvalidArgument;
  LockGuard guard(lock_);
  screen_name_ = EscapeUrlText(name);
  return kOk;
}

Result UsageTracker::StartScreenView() noexcept {
  LockGuard guard(lock_);
  if (!sampled_) return kOk;
  if (screen_name_.IsEmpty()) return kNotOpen;
  screen_view_started_ = true;
  String payload = CommonPart() + u"&sc=start&t=screenview&cd=" + screen_name_;
  if (!user_language_.IsEmpty()) payload += u"&ul=" + user_language_;
  if (!screen_resolution_.IsEmpty()) payload += u"&sr=" + screen_resolution_;
  return queue_.Enqueue(payload.Text());
}

Result UsageTracker::ReportEvent(const char16_t* action, const char16_t* label) noexcept {
  if (action == nullptr || *action == 0) return kInvalidArgument;
  LockGuard guard(lock_);
  if (!sampled_ || !screen_view_started_) return kOk;
  String payload = CommonPart() + u"&t=event&cd=" + screen_name_ + u"&ec=" +
                   EscapeUrlText(u"Maintenance") + u"&ea=" + EscapeUrlText(action);
  if (label != nullptr && *label != 0) payload += u"&el=" + EscapeUrlText(label);
  return queue_.Enqueue(payload.Text());
}

Result UsageTracker::EndScreenViewLocked() noexcept {
  if (!sampled_ || !screen_view_started_) return kOk;
  if (screen_name_.IsEmpty()) return kNotOpen;
  screen_view_started_ = false;
  const String payload = CommonPart() + u"&sc=end&t=screenview&cd=" + screen_name_;
  return queue_.Enqueue(payload.Text());
}

Result UsageTracker::EndScreenView() noexcept {
  LockGuard guard(lock_);
  return EndScreenViewLocked();
}

void UsageTracker::EndOfProgram() noexcept {
  if (this == instance) Destroy();
}

}  // namespace vorn
