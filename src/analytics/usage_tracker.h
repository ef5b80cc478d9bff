// UsageTracker: anonymous usage hits (screen views and events) for the web
// analytics service. Whether a run is sampled is decided once; a sampled
// run identifies itself by a random client id kept in the registry and
// queues its hits for the sending queue's worker thread.
#pragma once

#include <cstdint>

#include "analytics/hit_queue.h"
#include "application/application_description.h"
#include "application/usage_reporter.h"
#include "foundation/lock_object.h"
#include "foundation/result.h"
#include "foundation/string.h"

// The Windows headers define ReportEvent as a macro for their event log
// function; callers that include them still mean the tracker's operation.
#ifdef ReportEvent
#undef ReportEvent
#endif

namespace vorn {

// Where a tracker's settings come from; the process's tracker uses the
// real ones, tests their own.
struct UsageTrackerSetup {
  // The run's sample rate: 0 or less never sends, 1 or more always does.
  float sample_rate = 1.0f;
  // The random draw that decides a rate between 0 and 1.
  uint32_t (*draw)() = nullptr;  // null: the framework's random generator
  // Where hits go; owned by the tracker. Null: hits are queued, never sent.
  HitPoster* poster = nullptr;
  HitQueue::Clock clock = nullptr;  // null: the UTC clock
  // Loads (or creates and stores) the client id for a company.
  Result (*load_client_id)(const String& company, String& client_id) = nullptr;
};

class UsageTracker : public UsageReporter {
 public:
  // Reads the run's sample rate: 0 with the rate, or a failure, when the
  // rate is then 1. By default the preference "/User/Local/AnalyticsSampleRate".
  using SampleRateReader = Result (*)(float& rate);

  // The process's tracker, made from the application core's description,
  // the sample rate and the collection endpoint; it becomes the core's usage
  // reporter. 14 when it exists already, 12 out of memory.
  static Result Create() noexcept;
  static UsageTracker* Instance() noexcept;
  // Sends the end hit and what is pending, then closes the HTTP session.
  static void Destroy() noexcept;
  // Settings for Create; set before it.
  static void SetCollectionEndpoint(const char16_t* url) noexcept;
  static const String& CollectionEndpoint() noexcept;
  static void SetSampleRateReader(SampleRateReader reader) noexcept;

  UsageTracker(const ApplicationDescription& description, const UsageTrackerSetup& setup) noexcept;
  ~UsageTracker() override;
  UsageTracker(const UsageTracker&) = delete;
  UsageTracker& operator=(const UsageTracker&) = delete;

  // Whether the rate alone samples a run with this random draw.
  static bool RateSamples(float rate, uint32_t draw) noexcept;

  bool IsSampled() const noexcept { return sampled_; }
  String ClientId() noexcept;

  // 5 for a null text; stores the text URL-encoded.
  Result SetApplicationVersion(const char16_t* version) noexcept;
  Result SetScreenName(const char16_t* name) noexcept override;
  // 0 and nothing sent when not sampled; 4 without a screen name.
  Result StartScreenView() noexcept override;
  // 5 for a missing or empty action; 0 and nothing sent unless sampled and
  // a screen view was started. The label goes only when not empty.
  Result ReportEvent(const char16_t* action, const char16_t* label) noexcept;
  Result ReportUsageEvent(const char16_t* action, const char16_t* label) noexcept override {
    return ReportEvent(action, label);
  }
  // Nothing unless sampled and started; 4 without a screen name.
  Result EndScreenView() noexcept;

  void EndOfProgram() noexcept override;

  HitQueue& Queue() noexcept { return queue_; }

 private:
  Result SetUpIdentity(const ApplicationDescription& description,
                       const UsageTrackerSetup& setup) noexcept;
  String CommonPart() const noexcept;
  Result EndScreenViewLocked() noexcept;

  LockObject lock_;
  HitQueue queue_;
  bool sampled_ = false;
  bool screen_view_started_ = false;
  String tracking_id_;
  String client_id_;
  String application_name_;     // URL-encoded
  String application_version_;  // URL-encoded
  String screen_name_;          // URL-encoded
  String user_language_;
  String screen_resolution_;
};

}  // namespace vorn
