#include "analytics/usage_tracker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analytics/support/recording_poster.h"

namespace vorn {
namespace {

using testing::PosterLog;
using testing::RecordingPoster;
using Payloads = std::vector<std::u16string>;

constexpr char16_t kClientId[] = u"0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9";

Result FixedClientId(const String&, String& client_id) {
  client_id = kClientId;
  return kOk;
}
Result NoClientId(const String&, String& client_id) {
  client_id = String();
  return kFailed;
}
int64_t StillClock() {
  return 0;
}
uint32_t draw_value = 0;
uint32_t FixedDraw() {
  return draw_value;
}

ApplicationDescription Description() {
  ApplicationDescription description;
  description.name = u"Vorn Demo";
  description.version = u"2.1";
  description.company = u"Vorn Works";
  description.tracking_id = u"UA-1234-5";
  return description;
}

UsageTrackerSetup TrackerSetup(PosterLog& log, float rate = 1.0f) {
  UsageTrackerSetup setup;
  setup.sample_rate = rate;
  setup.poster = new RecordingPoster(log);
  setup.clock = &StillClock;
  setup.draw = &FixedDraw;
  setup.load_client_id = &FixedClientId;
  return setup;
}

std::u16string Common() {
  return u"v=1&tid=UA-1234-5&cid=" + std::u16string(kClientId) + u"&an=Vorn+Demo&av=2.1";
}

TEST(UsageTrackerTest, ScreenViewsAndEventsHaveTheirExactPayloads) {
  PosterLog log;
  {
    UsageTracker tracker(Description(), TrackerSetup(log));
    ASSERT_TRUE(tracker.IsSampled());
    ASSERT_EQ(tracker.SetScreenName(u"Install"), kOk);
    ASSERT_EQ(tracker.StartScreenView(), kOk);
    ASSERT_EQ(tracker.ReportEvent(u"Install", u"Success"), kOk);
    ASSERT_EQ(tracker.ReportEvent(u"Install", u""), kOk);
  }
  const Payloads payloads = log.Payloads();
  ASSERT_EQ(payloads.size(), 4u);
  // The language and the screen size follow where the platform tells them.
  const std::u16string start = Common() + u"&sc=start&t=screenview&cd=Install";
  EXPECT_EQ(payloads[0].substr(0, start.size()), start);
  const std::u16string rest = payloads[0].substr(start.size());
  EXPECT_TRUE(rest.empty() || rest.rfind(u"&ul=", 0) == 0 || rest.rfind(u"&sr=", 0) == 0);
  EXPECT_EQ(payloads[1], Common() + u"&t=event&cd=Install&ec=Maintenance&ea=Install&el=Success");
  EXPECT_EQ(payloads[2], Common() + u"&t=event&cd=Install&ec=Maintenance&ea=Install");
  EXPECT_EQ(payloads[3], Common() + u"&sc=end&t=screenview&cd=Install");
}

TEST(UsageTrackerTest, VersionCarriesTheTagUnlessSetExplicitly) {
  PosterLog log;
  ApplicationDescription description = Description();
  description.tag = u"beta";
  {
    UsageTracker tracker(description, TrackerSetup(log));
    tracker.SetScreenName(u"Install");
    tracker.StartScreenView();
    tracker.SetApplicationVersion(u"3.0");
    tracker.EndScreenView();
  }
  const Payloads payloads = log.Payloads();
  ASSERT_EQ(payloads.size(), 2u);
  EXPECT_NE(payloads[0].find(u"&av=2.1+beta&"), std::u16string::npos);
  EXPECT_NE(payloads[1].find(u"&av=3.0&"), std::u16string::npos);
}

TEST(UsageTrackerTest, ValuesAreUrlEscaped) {
  PosterLog log;
  ApplicationDescription description = Description();
  description.name = u"A&B=C";
  {
    UsageTracker tracker(description, TrackerSetup(log));
    tracker.SetScreenName(u"x&y");
    tracker.StartScreenView();
    tracker.ReportEvent(u"a=b", u"c&d");
  }
  const Payloads payloads = log.Payloads();
  ASSERT_EQ(payloads.size(), 3u);
  for (const std::u16string& payload : payloads) {
    EXPECT_EQ(payload.find(u"A&B"), std::u16string::npos)
        << std::string(payload.begin(), payload.end());
    EXPECT_EQ(payload.find(u"x&y"), std::u16string::npos);
  }
  EXPECT_EQ(payloads[1].find(u"c&d"), std::u16string::npos);
}

TEST(UsageTrackerTest, SampleRateDecidesTheRun) {
  EXPECT_FALSE(UsageTracker::RateSamples(0.0f, 0));
  EXPECT_FALSE(UsageTracker::RateSamples(-1.0f, 0));
  EXPECT_TRUE(UsageTracker::RateSamples(1.0f, 0xFFFFFFFF));
  EXPECT_TRUE(UsageTracker::RateSamples(7.5f, 0xFFFFFFFF));
  EXPECT_TRUE(UsageTracker::RateSamples(0.5f, 0x7FFFFFFF));
  EXPECT_FALSE(UsageTracker::RateSamples(0.5f, 0x80000000));
  for (float rate : {0.0f, -0.25f}) {
    PosterLog log;
    {
      UsageTracker tracker(Description(), TrackerSetup(log, rate));
      EXPECT_FALSE(tracker.IsSampled());
      tracker.SetScreenName(u"Install");
      EXPECT_EQ(tracker.StartScreenView(), kOk);
      EXPECT_EQ(tracker.ReportEvent(u"Install", u"Success"), kOk);
    }
    EXPECT_TRUE(log.Payloads().empty());
  }
  PosterLog log;
  draw_value = 0x40000000;
  UsageTracker half(Description(), TrackerSetup(log, 0.5f));
  EXPECT_TRUE(half.IsSampled());
  draw_value = 0xC0000000;
  UsageTracker other_half(Description(), TrackerSetup(log, 0.5f));
  EXPECT_FALSE(other_half.IsSampled());
}

TEST(UsageTrackerTest, NothingIsSentWithoutTrackingIdOrClientId) {
  PosterLog log;
  ApplicationDescription description = Description();
  description.tracking_id = String();
  {
    UsageTracker tracker(description, TrackerSetup(log));
    EXPECT_FALSE(tracker.IsSampled());
    tracker.SetScreenName(u"Install");
    tracker.StartScreenView();
  }
  {
    UsageTrackerSetup setup = TrackerSetup(log);
    setup.load_client_id = &NoClientId;
    UsageTracker tracker(Description(), setup);
    EXPECT_FALSE(tracker.IsSampled());
    tracker.SetScreenName(u"Install");
    tracker.StartScreenView();
  }
  EXPECT_TRUE(log.Payloads().empty());
}

TEST(UsageTrackerTest, CallsOutOfOrderAndBadArgumentsHaveClearResults) {
  PosterLog log;
  {
    UsageTracker tracker(Description(), TrackerSetup(log));
    EXPECT_EQ(tracker.ReportEvent(u"Install", u"Success"), kOk);  // no screen view yet
    EXPECT_EQ(tracker.ReportEvent(u"", u"Success"), kInvalidArgument);
    EXPECT_EQ(tracker.ReportEvent(nullptr, nullptr), kInvalidArgument);
    EXPECT_EQ(tracker.StartScreenView(), kNotOpen);  // no screen name
    EXPECT_EQ(tracker.EndScreenView(), kOk);
    EXPECT_EQ(tracker.SetScreenName(nullptr), kInvalidArgument);
    EXPECT_EQ(tracker.SetApplicationVersion(nullptr), kInvalidArgument);
  }
  EXPECT_TRUE(log.Payloads().empty());
}

TEST(UsageTrackerTest, EndHitOnlyAfterAStart) {
  PosterLog log;
  {
    UsageTracker tracker(Description(), TrackerSetup(log));
    tracker.SetScreenName(u"Uninstall");
    tracker.StartScreenView();
    tracker.EndScreenView();
    EXPECT_EQ(tracker.EndScreenView(), kOk);  // a second end sends nothing
  }
  EXPECT_EQ(log.Payloads().size(), 2u);
}

}  // namespace
}  // namespace vorn
