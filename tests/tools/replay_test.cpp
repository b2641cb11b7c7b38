// The replay contract: script syntax, its errors, and the lines printed.
#include "tools/replay.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/player_fixture.h"

namespace vk {
namespace {

// Runs a script as vorlan-replay does; `error` gets what it would say on standard error.
std::string Replay(const std::string& text, bool with_state = false, int* status = nullptr,
                   std::string* error = nullptr) {
  std::istringstream in(text);
  std::ostringstream out;
  std::string message;
  const int code = RunReplay(in, StandInHolders(), with_state, out, &message);
  if (status) *status = code;
  if (error) *error = message;
  EXPECT_TRUE(error || message.empty()) << message;
  return out.str();
}

std::string ParseError(const std::string& text) {
  int status = 0;
  std::string error;
  Replay(text, false, &status, &error);
  EXPECT_EQ(status, 2) << text;
  return error;
}

TEST(ReplayTest, ExampleFromTheContract) {
  EXPECT_EQ(Replay("play\n-\n-\nkey 45\n-\n-\n"), "0\n1\n2\n3\n1\n0\n");
}

// As Windows Notepad saves it: a byte order mark first, and CRLF line ends.
TEST(ReplayTest, ScriptSavedOnWindows) {
  EXPECT_EQ(Replay("\xEF\xBB\xBFplay\r\n-\r\n-\r\nkey 45\r\n-\r\n-\r\n"), "0\n1\n2\n3\n1\n0\n");
  EXPECT_EQ(Replay("\xEF\xBB\xBF-\r\n"), "0\n1\n");  // without play: a pump
  EXPECT_EQ(ParseError("play\n\xEF\xBB\xBF-\n"), "line 2: unknown event '\\xef\\xbb\\xbf-'");
}

TEST(ReplayTest, WithoutPlaybackLinesOnlyLoadingRuns) {
  EXPECT_EQ(Replay(""), "0\n");
  EXPECT_EQ(Replay("# nothing but a comment\n\nplay\n"), "0\n");
}

TEST(ReplayTest, WithoutPlayEveryLineIsAPlaybackPump) {
  EXPECT_EQ(Replay("-\nkey 43 # plus\n-\n"), "0\n1\n2\n4\n");
}

TEST(ReplayTest, LoadingLinesFeedTheLoadingPumps) {
  // A click while loading: mouse mode is on when playback starts, so the move steps.
  EXPECT_EQ(Replay("click\nplay\nmove 1 2\n-\n-\n"), "0\n1\n2\n2\n");
  EXPECT_EQ(Replay("-\n-\nkey 27\nplay\n-\n"), "0\nend\n");
}

TEST(ReplayTest, EventsInOnePumpRunInOrder) {
  EXPECT_EQ(Replay("play\nkey 45 ; key 43\n-\n"), "0\n1\n3\n");
  EXPECT_EQ(Replay("play\nkey 43;key 45\n-\n"), "0\n1\n23\n");
}

TEST(ReplayTest, StateLines) {
  const std::string out = Replay("play\nclick; move 2 3.5\n", true);
  EXPECT_EQ(out,
            "0 k=empty l=empty m=empty mm=empty n=empty nn=empty m1=empty mm1=empty n1=empty "
            "st=empty ke=empty ke1=empty nm=empty nmm=empty yyy=empty hl=empty updo=empty\n"
            "1 k=i32:1000000 l=i16:1 m=empty mm=empty n=i16:1 nn=empty m1=empty mm1=empty "
            "n1=empty st=empty ke=empty ke1=empty nm=empty nmm=empty yyy=empty hl=i16:0 "
            "updo=i16:1\n");
  const std::string moved = Replay("play\nmove 0.1 0.3\n-\n", true);
  EXPECT_NE(moved.find(" k=f32:0.900000036 "), std::string::npos) << moved;
}

TEST(ReplayTest, EndAndErrorLines) {
  int status = -1;
  EXPECT_EQ(Replay("play\n-\ndblclick; key 43\n-\n", false, &status), "0\n1\n2\nend\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Replay("play\nmove 3e38 1\n-\n", false, &status), "0\n1\nerror 6: Overflow\n");
  EXPECT_EQ(status, 1);
}

TEST(ReplayTest, BadScriptsAreRefusedWithTheirLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"jump\n", "line 1: unknown event 'jump'"},
      {"-\nkey\n", "line 2: missing argument to 'key'"},
      {"key 1 2\n", "line 1: extra argument to 'key'"},
      {"key 45\tkey 43\n", "line 1: extra argument to 'key'"},
      {"click 1\n", "line 1: extra argument to 'click'"},
      {"key 32768\n", "line 1: key code '32768' is not a whole number from -32768 to 32767"},
      {"key -32769\n", "line 1: key code '-32769' is not a whole number from -32768 to 32767"},
      {"key 4x\n", "line 1: key code '4x' is not a whole number from -32768 to 32767"},
      {"move 1\n", "line 1: missing argument to 'move'"},
      {"move 1 nan\n", "line 1: coordinate 'nan' is not a finite number"},
      {"move inf 1\n", "line 1: coordinate 'inf' is not a finite number"},
      {"move 1e39 1\n", "line 1: coordinate '1e39' is not a finite number"},
      {"move 0x10 1\n", "line 1: coordinate '0x10' is not a finite number"},
      {"move +-1 1\n", "line 1: coordinate '+-1' is not a finite number"},
      {"move 1 --1\n", "line 1: coordinate '--1' is not a finite number"},
      {"key 45;\n", "line 1: empty event"},
      {"- ; click\n", "line 1: unknown event '-'"},
      {"play\nplay\n", "line 2: 'play' given twice"},
      // Hostile input is quoted short, with what cannot print escaped.
      {"key \x1b[2J\x01\n",
       "line 1: key code '\\x1b[2J\\x01' is not a whole number from -32768 to 32767"},
      {"move 1 " + std::string(100, '9'),
       "line 1: coordinate '9999999999999999999999999999999999999999...' is not a finite number"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(ParseError(text), message);

  std::string loading;
  for (int i = 0; i < 24; ++i) loading += "-\n";
  EXPECT_EQ(ParseError(loading + "play\n"),
            "line 25: more than 23 loading pump lines before 'play'");
  EXPECT_EQ(Replay(loading.substr(2) + "play\n"), "0\n");  // 23 loading lines are fine
}

// Numbers too small for a single float round to a subnormal or to zero, as any number rounds.
TEST(ReplayTest, TinyCoordinatesRoundToSubnormalsOrZero) {
  const std::string out = Replay("play\nmove 1e-50 1\n-\nmove +1e-40 1\n-\n", true);
  EXPECT_NE(out.find(" k=f32:0 "), std::string::npos) << out;
  EXPECT_NE(out.find(" k=f32:2.99998383e-39 "), std::string::npos) << out;
}

// A line is read in bounded memory: blanks run together cost nothing, and a line longer than
// 1 MiB is refused with its number.
TEST(ReplayTest, LongLinesAreBounded) {
  EXPECT_EQ(Replay("play\n" + std::string(3 << 20, ' ') + "\t-\n-\n"), "0\n1\n2\n");
  EXPECT_EQ(ParseError("play\n-\n" + std::string((1 << 20) + 1, 'x')),
            "line 3: longer than 1048576 bytes");
}

// A line that does not parse ends the run there: what ran before it stands.
TEST(ReplayTest, ABadLineEndsTheRunAfterThePumpsBeforeIt) {
  int status = 0;
  std::string error;
  EXPECT_EQ(Replay("play\n-\njump\n-\n", false, &status, &error), "0\n1\n");
  EXPECT_EQ(status, 2);
  EXPECT_EQ(error, "line 3: unknown event 'jump'");
}

TEST(ReplayTest, KeyCodesOutsideTheCharacterSetAreAccepted) {
  EXPECT_EQ(Replay("play\nkey -32768; key 32767; key 301\n-\n"), "0\n1\n2\n");
}

}  // namespace
}  // namespace vk
