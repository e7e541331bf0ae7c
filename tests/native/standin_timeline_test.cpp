// The stand-in player's behaviour over time, which the monitor tests lean on.
#include "tools/player-standin/standin_timeline.h"

#include <gtest/gtest.h>

namespace {

TEST(StandinTimeline, ConnectsBuffersPlaysAndEnds) {
  StandinTimeline t;
  t.Load(u"http://site/v/a.rmvb?x=1&standin=connect:100,buffer:200,duration:3,download:2&y=2");
  EXPECT_EQ(t.State(0), 0);
  EXPECT_EQ(t.DownloadProgress(0), 0);
  t.Play(1000);
  EXPECT_EQ(t.State(1050), 10);
  EXPECT_EQ(t.Duration(1050), 0);
  EXPECT_EQ(t.DownloadRate(1050), 0);
  EXPECT_EQ(t.State(1150), 4);
  EXPECT_EQ(t.Duration(1150), 3);
  EXPECT_GT(t.DownloadRate(1150), 0);
  EXPECT_EQ(t.State(1300), 3);
  EXPECT_EQ(t.Position(2300), 1);
  EXPECT_EQ(t.DownloadProgress(2000), 500);
  EXPECT_EQ(t.DownloadProgress(3500), 1000);
  EXPECT_EQ(t.DownloadRate(3500), 0);
  EXPECT_GT(t.MediaRate(2300), 0);
  EXPECT_EQ(t.State(4300), 6);
  EXPECT_EQ(t.Position(9000), 3);
}

TEST(StandinTimeline, PauseResumeSeekAndStop) {
  StandinTimeline t;
  t.Load(u"C:\\v\\a.avi?standin=connect:0,buffer:0,duration:100");
  t.Play(0);
  EXPECT_EQ(t.State(10), 3);
  t.Pause(5000);
  EXPECT_EQ(t.State(9000), 2);
  EXPECT_EQ(t.Position(9000), 5);
  t.Play(9000);
  EXPECT_EQ(t.State(9000), 3);  // resumes at once
  EXPECT_EQ(t.Position(11000), 7);
  t.Seek(50, 11000);
  EXPECT_EQ(t.Position(12000), 51);
  t.Stop(12000);
  EXPECT_EQ(t.State(12500), 1);
  EXPECT_EQ(t.Position(12500), 0);
  t.Play(13000);
  EXPECT_EQ(t.Position(14000), 1);
}

TEST(StandinTimeline, DefaultsWithoutParameters) {
  const StandinTiming timing = ParseStandinTiming(u"eevexo://whatever");
  EXPECT_EQ(timing.duration_s, 120);
  EXPECT_EQ(ParseStandinTiming(u"a?standin=duration:0,speed:abc").duration_s, 1);
}

}  // namespace
