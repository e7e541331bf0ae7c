// The player control's pure parts: its clock, its states, the download arithmetic, the cache's
// bounds and the picture conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "media_player/core/cache_plan.h"
#include "media_player/core/colour_conversion.h"
#include "media_player/core/download_meter.h"
#include "media_player/core/fetch_plan.h"
#include "media_player/core/media_input_position.h"
#include "media_player/core/pcm_volume.h"
#include "media_player/core/picture.h"
#include "media_player/core/picture_geometry.h"
#include "media_player/core/playback_clock.h"
#include "media_player/core/playback_session.h"
#include "play/ports/player_control.h"

namespace {

TEST(PlaybackClock, RunsFreezesAndMovesOnTheSystemClock) {
  PlaybackClock clock;
  clock.Set(5000, 100);
  EXPECT_EQ(clock.Media(900), 5000);
  clock.Start(1000);
  EXPECT_EQ(clock.Media(1500), 5500);
  clock.Freeze(2000);
  EXPECT_EQ(clock.Media(9000), 6000);
  clock.Start(10000);
  clock.Set(1000, 10000);
  EXPECT_EQ(clock.Media(10250), 1250);
  EXPECT_EQ(clock.Media(9000), 1000) << "a wall time before the clock moved is not a time before it";
}

TEST(PlaybackClock, FollowsOnlyADeviceThatPlaysInRealTime) {
  // A device 1% slow is followed: after a while the clock is where the device is.
  PlaybackClock real;
  real.Start(0);
  for (PlaybackClock::Ms wall = 0; wall <= 10000; wall += 500) real.AudioReport(wall * 99 / 100, wall);
  EXPECT_TRUE(real.following_audio());
  EXPECT_EQ(real.Media(10000), 9900);

  // A null device running three times too fast, and one that stalls, are not.
  PlaybackClock fast;
  fast.Start(0);
  for (PlaybackClock::Ms wall = 0; wall <= 10000; wall += 500) fast.AudioReport(wall * 3, wall);
  EXPECT_FALSE(fast.following_audio());
  EXPECT_EQ(fast.Media(10000), 10000);

  PlaybackClock stalled;
  stalled.Start(0);
  for (PlaybackClock::Ms wall = 0; wall <= 4000; wall += 500) stalled.AudioReport(wall, wall);
  EXPECT_TRUE(stalled.following_audio());
  for (PlaybackClock::Ms wall = 4500; wall <= 9000; wall += 500) stalled.AudioReport(4000, wall);
  EXPECT_FALSE(stalled.following_audio());
  EXPECT_GT(stalled.Media(9000), 4000) << "the picture goes on when the sound device stops";
}

TEST(PlaybackClock, RunsAtTheChosenSpeedAndFollowsADeviceAtThatPace) {
  // The speed changes where the clock is, not where it was started.
  PlaybackClock clock;
  clock.Start(0);
  clock.SetSpeed(2000, 1000);
  EXPECT_EQ(clock.Media(1500), 2000);
  clock.SetSpeed(500, 2000);
  EXPECT_EQ(clock.Media(4000), 3000 + 1000);
  clock.SetSpeed(0, 4000);
  EXPECT_EQ(clock.speed(), 500) << "no speed is no change";

  // At 1.5x a device playing the item's time 1.5 times as fast as the wall is a real one.
  for (const int speed : {500, 750, 1500, 2000}) {
    PlaybackClock paced;
    paced.Start(0);
    paced.SetSpeed(speed, 0);
    for (PlaybackClock::Ms wall = 0; wall <= 10000; wall += 500) paced.AudioReport(wall * speed / 1000 - 40, wall);
    EXPECT_TRUE(paced.following_audio()) << speed;
    EXPECT_EQ(paced.Media(10000), 10 * speed - 40) << speed;
  }
}

TEST(PcmTone, ThePitchOfASoundIsFoundInItsFirstChannel) {
  constexpr int kRate = 48000;
  for (const double hz : {100.0, 440.0, 880.0, 1234.5, 5000.0}) {
    std::vector<std::int16_t> stereo(kRate / 5 * 2);  // a fifth of a second
    for (std::size_t i = 0; i < stereo.size() / 2; ++i) {
      stereo[2 * i] = static_cast<std::int16_t>(9000 * std::sin(2 * M_PI * hz * static_cast<double>(i) / kRate));
      stereo[2 * i + 1] = 0;  // the other channel is left alone
    }
    EXPECT_NEAR(ToneOfPcm16(stereo.data(), stereo.size(), 2, kRate), hz, hz / 100) << hz;
  }
  const std::vector<std::int16_t> quiet(9600, 20);  // below the noise threshold
  EXPECT_EQ(ToneOfPcm16(quiet.data(), quiet.size(), 2, kRate), 0);
  EXPECT_EQ(ToneOfPcm16(quiet.data(), quiet.size(), 0, kRate), 0);
}

// The session driven the way the control drives it, with the decoder's answers.
struct Session {
  PlaybackSession session;
  PlaybackSession::Ms now = 0;
  DecoderRequest last;

  void Open(PlaybackSession::Ms duration) {
    session.Load(now);
    last = session.Play(now);
    session.Opened(last.generation, duration, now);
    session.FrameReady(last.generation, now);
  }
  int State() const { return session.State(now); }
};

TEST(PlaybackSession, GoesFromConnectingToPlayingToEndedAndPlaysAgainFromTheStart) {
  Session s;
  s.session.Load(0);
  EXPECT_EQ(s.State(), player::kIdle);
  const DecoderRequest open = s.session.Play(0);
  EXPECT_EQ(open.kind, DecoderRequest::Kind::kOpen);
  EXPECT_EQ(s.State(), player::kConnecting);
  EXPECT_EQ(s.session.Duration(), 0);
  s.session.Opened(open.generation, 6000, 300);
  EXPECT_EQ(s.State(), player::kBuffering);
  EXPECT_EQ(s.session.Duration(), 6);
  s.now = 400;
  s.session.FrameReady(open.generation, 400);
  EXPECT_EQ(s.State(), player::kPlaying);
  s.now = 2900;
  EXPECT_EQ(s.session.Position(s.now), 2);

  s.session.Pause(s.now);
  s.now = 9000;
  EXPECT_EQ(s.State(), player::kPaused);
  EXPECT_EQ(s.session.PositionMs(s.now), 2500);
  EXPECT_EQ(s.session.Play(s.now).kind, DecoderRequest::Kind::kNone) << "resuming needs nothing from the decoder";
  EXPECT_EQ(s.State(), player::kPlaying);

  // The decoder found the last frame ending at 5.88 s; the item ends there, at its length.
  s.session.Ended(open.generation, 5880, s.now);
  s.now += 3379;
  EXPECT_EQ(s.State(), player::kPlaying);
  s.now += 1;
  EXPECT_EQ(s.State(), player::kEnded);
  EXPECT_EQ(s.session.Position(s.now), 6) << "the program takes a position at the length as the end";
  s.session.Pause(s.now);
  EXPECT_EQ(s.State(), player::kEnded);

  const DecoderRequest again = s.session.Play(s.now);
  EXPECT_EQ(again.kind, DecoderRequest::Kind::kSeek);
  EXPECT_EQ(again.position_ms, 0);
  EXPECT_TRUE(again.recreate) << "a reader past its end is opened again to seek";
  EXPECT_EQ(s.State(), player::kBuffering);
}

TEST(PlaybackSession, SeeksClampAndWaitForTheirPicture) {
  Session s;
  s.Open(6000);
  DecoderRequest seek = s.session.Seek(99000, s.now);
  EXPECT_EQ(seek.kind, DecoderRequest::Kind::kSeek);
  EXPECT_EQ(seek.position_ms, 6000);
  EXPECT_FALSE(seek.recreate);
  seek = s.session.Seek(-5, s.now);
  EXPECT_EQ(seek.position_ms, 0);
  s.session.Seek(3000, s.now);
  EXPECT_EQ(s.State(), player::kBuffering);
  s.now += 500;
  EXPECT_EQ(s.session.PositionMs(s.now), 3000) << "the clock waits for the picture at the new place";

  // While paused, a seek shows its picture and stays paused; Play before it comes plays on arrival.
  const DecoderRequest current{DecoderRequest::Kind::kSeek, s.session.generation(), 3000, false};
  s.session.FrameReady(current.generation, s.now);
  s.session.Pause(s.now);
  const DecoderRequest paused_seek = s.session.Seek(1000, s.now);
  EXPECT_EQ(s.State(), player::kPaused);
  s.session.FrameReady(paused_seek.generation, s.now);
  EXPECT_EQ(s.State(), player::kPaused);
  const DecoderRequest second = s.session.Seek(2000, s.now);
  s.session.Play(s.now);
  EXPECT_EQ(s.State(), player::kBuffering);
  s.session.FrameReady(second.generation, s.now);
  EXPECT_EQ(s.State(), player::kPlaying);

  // Before the item plays, a seek only says where Play starts.
  Session idle;
  idle.session.Load(0);
  EXPECT_EQ(idle.session.Seek(4000, 0).kind, DecoderRequest::Kind::kNone);
  EXPECT_EQ(idle.session.Play(0).position_ms, 4000);
}

TEST(PlaybackSession, ReportsAboutWhatWasLeftBehindChangeNothing) {
  Session s;
  s.session.Load(0);
  const DecoderRequest first = s.session.Play(0);
  // A seek while connecting: the open still counts, its first picture does not.
  const DecoderRequest seek = s.session.Seek(2000, 0);
  s.session.Opened(first.generation, 6000, 0);
  s.session.FrameReady(first.generation, 0);
  EXPECT_EQ(s.State(), player::kBuffering);
  s.session.FrameReady(seek.generation, 0);
  EXPECT_EQ(s.State(), player::kPlaying);
  EXPECT_EQ(s.session.PositionMs(0), 2000);

  // After Stop, the old open's end and failure are stale; Stop then Play starts over.
  EXPECT_EQ(s.session.Stop(10).kind, DecoderRequest::Kind::kClose);
  EXPECT_EQ(s.State(), player::kStopped);
  EXPECT_EQ(s.session.Position(10), 0);
  s.session.Ended(seek.generation, 100, 10);
  s.session.Failed(seek.generation, 10);
  const DecoderRequest reopen = s.session.Play(20);
  EXPECT_EQ(reopen.kind, DecoderRequest::Kind::kOpen);
  EXPECT_EQ(reopen.position_ms, 0);
  s.session.Failed(first.generation, 20);
  EXPECT_EQ(s.State(), player::kConnecting);

  // A failure of the current open stops the item where the program understands it.
  s.session.Failed(reopen.generation, 30);
  EXPECT_EQ(s.State(), player::kStopped);
  EXPECT_EQ(s.session.Duration(), 0);
  EXPECT_EQ(s.session.Position(30), 0);

  // An item with no picture that ends while buffering ends, rather than buffering for ever.
  Session empty;
  empty.session.Load(0);
  const DecoderRequest open = empty.session.Play(0);
  empty.session.Opened(open.generation, 0, 0);
  empty.session.Ended(open.generation, 0, 0);
  EXPECT_EQ(empty.State(), player::kEnded);
}

TEST(PlaybackSession, ADownloadThatFallsBehindBuffersAndGoesOn) {
  Session s;
  s.Open(60000);
  s.now = 5000;
  s.session.Starved(s.session.generation(), s.now);
  EXPECT_EQ(s.State(), player::kBuffering);
  s.now = 9000;
  EXPECT_EQ(s.session.PositionMs(s.now), 5000);
  s.session.FrameReady(s.session.generation(), s.now);
  s.now = 9500;
  EXPECT_EQ(s.session.PositionMs(s.now), 5500);
}

TEST(DownloadMeter, ShareReachesAThousandOnlyWhenEverythingIsThere) {
  DownloadMeter meter;
  meter.Begin(10000, 2500, 0);
  EXPECT_EQ(meter.PerMille(), 250);
  meter.Add(7499, 100);
  EXPECT_EQ(meter.PerMille(), 999);
  meter.Add(1, 200);
  EXPECT_EQ(meter.PerMille(), 999) << "only the end of the download says it is whole";
  meter.Finish(300);
  EXPECT_EQ(meter.PerMille(), 1000);
  EXPECT_EQ(meter.RateKilobytesPerSecond(300), 0);

  DownloadMeter unknown;
  unknown.Begin(-1, 0, 0);
  unknown.Add(4096, 10);
  EXPECT_EQ(unknown.PerMille(), 0);
  unknown.Finish(20);
  EXPECT_EQ(unknown.PerMille(), 1000);
  EXPECT_EQ(unknown.total(), 4096);
}

TEST(DownloadMeter, RateCountsTheLastTwoSeconds) {
  DownloadMeter meter;
  meter.Begin(100 << 20, 0, 0);
  for (int ms = 0; ms < 4000; ms += 100) meter.Add(10240, ms);  // 100 KB/s
  EXPECT_NEAR(meter.RateKilobytesPerSecond(3900), 100, 6);
  EXPECT_EQ(meter.RateKilobytesPerSecond(7000), 0) << "a stalled download has no rate";
  EXPECT_EQ(MediaKilobitsPerSecond(750000, 6000), 1000);
  EXPECT_EQ(MediaKilobitsPerSecond(750000, 0), 0);
}

TEST(CachePlan, DeletesTheOldAndTheOldestOverTheSizeButNeverWhatIsInUse) {
  const CacheBounds bounds{1000, 3600};
  std::vector<CacheEntry> entries = {
      {L"a", 400, 100, false},  {L"b", 400, 5000, false}, {L"c", 400, 6000, true},
      {L"d", 400, 7000, false}, {L"e", 10, 7100, false},
  };
  // "a" is too old; then 1210 bytes are over 1000: "b" goes, "c" is playing and stays.
  EXPECT_EQ(PlanCacheEviction(entries, 7200, bounds), (std::vector<std::wstring>{L"a", L"b"}));
  entries[2].in_use = false;
  entries[2].last_used_s = 10;
  EXPECT_EQ(PlanCacheEviction(entries, 7200, bounds), (std::vector<std::wstring>{L"c", L"a"}));
  EXPECT_TRUE(PlanCacheEviction({{L"x", 5000, 0, true}}, 99999, bounds).empty());
}

TEST(CachePlan, NamesAreStableAndSafeForAnyAddress) {
  const std::wstring name = CacheFileName(u"http://h/a.mp4?x=1&y=\"<>|*");
  EXPECT_EQ(name, CacheFileName(u"http://h/a.mp4?x=1&y=\"<>|*"));
  EXPECT_NE(name, CacheFileName(u"http://h/b.mp4"));
  for (wchar_t c : name) EXPECT_TRUE(iswalnum(c) || c == L'.') << static_cast<int>(c);
}

TEST(Picture, FitsWithItsShapeKeptAndBarsAroundIt) {
  EXPECT_EQ(FitPicture(320, 240, 800, 300), (PictureRect{200, 0, 400, 300}));
  EXPECT_EQ(FitPicture(1280, 720, 640, 480), (PictureRect{0, 60, 640, 360}));
  EXPECT_EQ(FitPicture(320, 240, 320, 240), (PictureRect{0, 0, 320, 240}));
  EXPECT_EQ(FitPicture(0, 240, 320, 240), PictureRect{});
  EXPECT_EQ(FitPicture(320, 240, 0, 0), PictureRect{});
}

}  // namespace

namespace {

// Every way a fetch's next write can go: what it writes of the bytes read, and why it stops.
TEST(FetchPlan, WritesOnlyWhatIsAnnouncedCappedAndWithinTheDiskAndTheCache) {
  FetchBounds bounds;
  bounds.max_item_bytes = 1000;
  bounds.min_free_bytes = 100;
  bounds.cache_bytes = 500;
  struct Case {
    const char* what;
    std::int64_t fetched, total, got, free_bytes, others;
    bool playing;
    std::int64_t write;
    FetchStop stop;
  };
  const Case cases[] = {
      {"plain", 0, 800, 50, -1, -1, true, 50, FetchStop::kNone},
      {"the announced end", 780, 800, 50, -1, -1, true, 20, FetchStop::kComplete},
      {"more than announced", 800, 800, 50, -1, -1, true, 0, FetchStop::kComplete},
      {"no length", 500, -1, 50, -1, -1, true, 50, FetchStop::kNone},
      {"no length at the cap", 990, -1, 50, -1, -1, true, 10, FetchStop::kCapped},
      {"announced beyond the cap", 990, 5000, 50, -1, -1, true, 10, FetchStop::kCapped},
      {"the disk's floor", 0, 800, 50, 120, -1, true, 20, FetchStop::kDiskLow},
      {"the disk already below", 0, 800, 50, 60, -1, true, 0, FetchStop::kDiskLow},
      {"ahead within the cache", 0, 800, 50, 10000, 400, false, 50, FetchStop::kNone},
      {"ahead at the cache's bound", 0, 800, 50, 10000, 480, false, 20, FetchStop::kCacheFull},
      {"the playing item past the bound", 0, 800, 50, 10000, 480, true, 50, FetchStop::kNone},
      {"nothing read", 10, 800, 0, -1, -1, true, 0, FetchStop::kNone},
  };
  for (const Case& c : cases) {
    const WritePlan plan = PlanWrite(c.fetched, c.total, c.got, c.free_bytes, c.others, c.playing, bounds);
    EXPECT_EQ(plan.write, c.write) << c.what;
    EXPECT_EQ(plan.stop, c.stop) << c.what;
  }
}

TEST(FetchPlan, AResumedAnswerGoesOnOnlyFromTheSameFile) {
  struct Case {
    int status;
    std::int64_t from, first, size, known;
    ResumeVerdict verdict;
  };
  const Case cases[] = {
      {206, 100, 100, 800, 800, ResumeVerdict::kAppend},    {206, 100, 100, 800, -1, ResumeVerdict::kAppend},
      {206, 100, 100, 900, 800, ResumeVerdict::kStartOver}, {200, 100, -1, -1, 800, ResumeVerdict::kStartOver},
      {206, 100, 50, 800, 800, ResumeVerdict::kFail},       {416, 100, -1, -1, 800, ResumeVerdict::kFail},
      {404, 100, -1, -1, 800, ResumeVerdict::kFail},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckResume(c.status, c.from, c.first, c.size, c.known), c.verdict) << c.status << " " << c.size;
  }
  EXPECT_EQ(RangeValidator("\"abc\"", "Tue, 08 Dec 2026 10:00:00 GMT"), "\"abc\"");
  EXPECT_EQ(RangeValidator("W/\"abc\"", "Tue, 08 Dec 2026 10:00:00 GMT"), "Tue, 08 Dec 2026 10:00:00 GMT");
  EXPECT_EQ(RangeValidator("", ""), "");
}

}  // namespace

namespace {

TEST(PictureGeometry, TurnsShapesAndPixelsAsTheStreamSays) {
  const std::pair<double, int> turns[] = {{std::nan(""), 0}, {0, 0},      {-90, 90}, {90, 270},   {180, 180},
                                          {-180, 180},       {-270, 270}, {360, 0},  {-89.6, 90}, {-450, 90}};
  for (const auto& [angle, turn] : turns) EXPECT_EQ(UprightTurn(angle), turn) << angle;

  struct Case {
    int width, height, sar_num, sar_den, turn;
    PictureShape shape;
  };
  const Case shapes[] = {
      {720, 576, 64, 45, 0, {1024, 576}},  // PAL 16:9, anamorphic
      {720, 576, 16, 15, 0, {768, 576}},   // PAL 4:3
      {720, 480, 8, 9, 0, {720, 540}},     // NTSC 4:3: narrower pixels, a taller picture
      {1920, 1080, 1, 1, 90, {1080, 1920}},
      {1920, 1080, 0, 1, 270, {1080, 1920}},
      {854, 480, 0, 0, 180, {854, 480}},
      {100, 100, 100, 1, 0, {100, 100}},  // no recording has such pixels
      {0, 100, 1, 1, 0, {0, 0}},
  };
  for (const Case& c : shapes) {
    EXPECT_EQ(DisplayShape(c.width, c.height, c.sar_num, c.sar_den, c.turn), c.shape)
        << c.width << "x" << c.height << " " << c.sar_num << ":" << c.sar_den << " turned " << c.turn;
  }

  // 3 x 2 pixels numbered row by row: 1 2 3 / 4 5 6.
  const std::uint32_t in[] = {1, 2, 3, 4, 5, 6};
  std::vector<std::uint32_t> out;
  TurnPixels(in, 3, 2, 90, out);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{4, 1, 5, 2, 6, 3}));  // 2 wide, 3 high
  TurnPixels(in, 3, 2, 180, out);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{6, 5, 4, 3, 2, 1}));
  TurnPixels(in, 3, 2, 270, out);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{3, 6, 2, 5, 1, 4}));
  TurnPixels(in, 3, 2, 0, out);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(ColourConversion, MatrixAndAdjustmentAsTheConverterTakesThem) {
  EXPECT_EQ(MatrixFor(StreamMatrix::kUnknown, 480), ColourMatrix::kBt601);
  EXPECT_EQ(MatrixFor(StreamMatrix::kUnknown, 720), ColourMatrix::kBt709);
  EXPECT_EQ(MatrixFor(StreamMatrix::kBt601, 1080), ColourMatrix::kBt601);
  EXPECT_EQ(MatrixFor(StreamMatrix::kBt2020, 480), ColourMatrix::kBt2020);
  struct Case {
    PictureAdjust adjust;
    ConverterAdjust converter;
  };
  const Case cases[] = {
      {{0, 100, 100}, {0, 65536, 65536}},
      {{100, 100, 100}, {32768, 65536, 65536}},     // 128 levels up
      {{0, 200, 100}, {-32768, 131072, 65536}},     // twice the contrast, mid-grey stays
      {{0, 0, 0}, {32768, 0, 0}},                   // everything mid-grey
      {{-500, 100, 300}, {-32768, 65536, 131072}},  // clamped first
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConverterAdjustOf(c.adjust), c.converter) << c.adjust.brightness << " " << c.adjust.contrast;
  }
}

TEST(MediaInput, SeeksLandWhereTheyShouldOrNowhere) {
  struct Case {
    SeekFrom from;
    std::int64_t offset, position, size;
    std::optional<std::int64_t> target;
  };
  const Case cases[] = {
      {SeekFrom::kStart, 100, 50, 1000, 100},
      {SeekFrom::kCurrent, 100, 50, 1000, 150},
      {SeekFrom::kCurrent, -50, 50, 1000, 0},
      {SeekFrom::kCurrent, -51, 50, 1000, std::nullopt},
      {SeekFrom::kEnd, -10, 50, 1000, 990},
      {SeekFrom::kEnd, -10, 50, -1, std::nullopt},
      {SeekFrom::kSizeQuery, 0, 50, 1000, 1000},
      {SeekFrom::kSizeQuery, 0, 50, -1, std::nullopt},
      {SeekFrom::kStart, 2000, 0, 1000, 2000},  // past the end is allowed: the read then gives nothing
      {SeekFrom::kCurrent, INT64_MAX, 10, 1000, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SeekTarget(c.from, c.offset, c.position, c.size), c.target)
        << static_cast<int>(c.from) << " " << c.offset;
  }
}

}  // namespace
