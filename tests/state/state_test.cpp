// The user's state file: what reading makes of every kind of text, what writing
// keeps, and which files' positions are remembered.
#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "state/ResumePositions.h"
#include "state/UserState.h"

namespace userstate {
// Failures show the state as the file would hold it.
void PrintTo(const UserState& state, std::ostream* out) { *out << SerializeUserState(state); }
} // namespace userstate

namespace {

using namespace userstate;
using nlohmann::json;

const FileKey kFirst{L"C:\\films\\first.mp4", 1000, 77};
const FileKey kSecond{L"D:\\电影\\second.mkv", 2000, 88};

UserState Full() {
    UserState s;
    s.rows = {kFirst.path, kSecond.path};
    s.selected = 1;
    s.volume = 80;
    s.muted = true;
    s.speed = 1.5;
    s.window = WindowPlace{10, 20, 850, 620, false};
    s.listShown = false;
    s.positions = {{kFirst, 125.5}, {kSecond, 61}};
    return s;
}

// Full()'s file with one edit; what reading it gives.
UserState ParseEdited(const std::function<void(json&)>& edit) {
    json doc = json::parse(SerializeUserState(Full()));
    edit(doc);
    return ParseUserState(doc.dump());
}

UserState FullWith(const std::function<void(UserState&)>& change) {
    UserState s = Full();
    change(s);
    return s;
}

UserState WithPositions(std::vector<RememberedPosition> positions) {
    UserState s;
    s.positions = std::move(positions);
    return s;
}

FileKey Numbered(int i) { return {L"E:\\v\\" + std::to_wstring(i) + L".mp4", 1, 1}; }

// The positions after the file was left at seconds of a 100 s duration.
UserState LeftAt(double seconds, double duration = 100) {
    UserState s = WithPositions({{kFirst, 50}});
    RecordLeftAt(s.positions, kFirst, seconds, duration);
    return s;
}

struct Case {
    const char* what;
    std::function<UserState()> actual;
    std::function<UserState()> expected;
};

const Case kCases[] = {
    // Reading back what was written.
    {"round trip", [] { return ParseUserState(SerializeUserState(Full())); }, Full},
    {"round trip of the defaults", [] { return ParseUserState(SerializeUserState(UserState{})); }, [] { return UserState{}; }},
    {"round trip, maximised", [] { return ParseUserState(SerializeUserState(FullWith([](UserState& s) { s.window->maximized = true; }))); },
     [] { return FullWith([](UserState& s) { s.window->maximized = true; }); }},
    // Nothing usable at all.
    {"empty file", [] { return ParseUserState(""); }, [] { return UserState{}; }},
    {"not an object", [] { return ParseUserState("[1,2]"); }, [] { return UserState{}; }},
    {"not JSON", [] { return ParseUserState("volume=80"); }, [] { return UserState{}; }},
    {"not UTF-8", [] { return ParseUserState("{\"rows\":[\"\xff\xfe\"],\"volume\":80}"); }, [] { return UserState{}; }},
    {"truncated at every byte", [] {
         const std::string text = SerializeUserState(Full());
         for (size_t n = 0; n < text.size() - 1; ++n) {
             UserState s = ParseUserState(text.substr(0, n));
             if (!(s == UserState{}))
                 return s;
         }
         return UserState{};
     }, [] { return UserState{}; }},
    // One field missing, of a wrong type or out of range: that field alone falls back.
    {"rows missing", [] { return ParseEdited([](json& d) { d.erase("rows"); }); },
     [] { return FullWith([](UserState& s) { s.rows.clear(); s.selected = -1; }); }},
    {"rows not a list", [] { return ParseEdited([](json& d) { d["rows"] = "C:\\a.mp4"; }); },
     [] { return FullWith([](UserState& s) { s.rows.clear(); s.selected = -1; }); }},
    {"a row not a string, the selection follows its row", [] { return ParseEdited([](json& d) { d["rows"].insert(d["rows"].begin(), 5); d["selected"] = 2; }); }, Full},
    {"a row twice, listed once, the selection on the first", [] { return ParseEdited([](json& d) { d["rows"].push_back("c:\\FILMS\\first.mp4"); d["selected"] = 2; }); },
     [] { return FullWith([](UserState& s) { s.selected = 0; }); }},
    {"selected missing", [] { return ParseEdited([](json& d) { d.erase("selected"); }); }, [] { return FullWith([](UserState& s) { s.selected = -1; }); }},
    {"selected past the rows", [] { return ParseEdited([](json& d) { d["selected"] = 2; }); }, [] { return FullWith([](UserState& s) { s.selected = -1; }); }},
    {"selected a string", [] { return ParseEdited([](json& d) { d["selected"] = "1"; }); }, [] { return FullWith([](UserState& s) { s.selected = -1; }); }},
    {"volume missing", [] { return ParseEdited([](json& d) { d.erase("volume"); }); }, [] { return FullWith([](UserState& s) { s.volume = 50; }); }},
    {"volume above 100", [] { return ParseEdited([](json& d) { d["volume"] = 101; }); }, [] { return FullWith([](UserState& s) { s.volume = 50; }); }},
    {"volume negative", [] { return ParseEdited([](json& d) { d["volume"] = -1; }); }, [] { return FullWith([](UserState& s) { s.volume = 50; }); }},
    {"volume a fraction", [] { return ParseEdited([](json& d) { d["volume"] = 80.5; }); }, [] { return FullWith([](UserState& s) { s.volume = 50; }); }},
    {"volume beyond 64 bits", [] { return ParseUserState("{\"volume\":18446744073709551615}"); }, [] { return UserState{}; }},
    {"volume 0 is kept", [] { return ParseEdited([](json& d) { d["volume"] = 0; }); }, [] { return FullWith([](UserState& s) { s.volume = 0; }); }},
    {"speed missing", [] { return ParseEdited([](json& d) { d.erase("speed"); }); }, [] { return FullWith([](UserState& s) { s.speed = 1.0; }); }},
    {"speed beyond 2", [] { return ParseEdited([](json& d) { d["speed"] = 3; }); }, [] { return FullWith([](UserState& s) { s.speed = 1.0; }); }},
    {"speed off the steps", [] { return ParseEdited([](json& d) { d["speed"] = 1.3; }); }, [] { return FullWith([](UserState& s) { s.speed = 1.0; }); }},
    {"speed as text", [] { return ParseEdited([](json& d) { d["speed"] = "fast"; }); }, [] { return FullWith([](UserState& s) { s.speed = 1.0; }); }},
    {"speed 0.5 is kept", [] { return ParseEdited([](json& d) { d["speed"] = 0.5; }); }, [] { return FullWith([](UserState& s) { s.speed = 0.5; }); }},
    {"muted a number", [] { return ParseEdited([](json& d) { d["muted"] = 1; }); }, [] { return FullWith([](UserState& s) { s.muted = false; }); }},
    {"list panel a string", [] { return ParseEdited([](json& d) { d["listShown"] = "false"; }); }, [] { return FullWith([](UserState& s) { s.listShown = true; }); }},
    {"window missing", [] { return ParseEdited([](json& d) { d.erase("window"); }); }, [] { return FullWith([](UserState& s) { s.window.reset(); }); }},
    {"window without width", [] { return ParseEdited([](json& d) { d["window"]["right"] = 10; }); }, [] { return FullWith([](UserState& s) { s.window.reset(); }); }},
    {"window far out of range", [] { return ParseEdited([](json& d) { d["window"]["left"] = -4000000000LL; }); }, [] { return FullWith([](UserState& s) { s.window.reset(); }); }},
    {"window a list", [] { return ParseEdited([](json& d) { d["window"] = json::array({10, 20, 850, 620}); }); }, [] { return FullWith([](UserState& s) { s.window.reset(); }); }},
    {"window's maximised flag a string", [] { return ParseEdited([](json& d) { d["window"]["maximized"] = "yes"; }); }, Full},
    {"positions not a list", [] { return ParseEdited([](json& d) { d["positions"] = json::object(); }); }, [] { return FullWith([](UserState& s) { s.positions.clear(); }); }},
    {"a position with a negative time", [] { return ParseEdited([](json& d) { d["positions"][0]["seconds"] = -3; }); },
     [] { return FullWith([](UserState& s) { s.positions.erase(s.positions.begin()); }); }},
    {"a position with its size as text", [] { return ParseEdited([](json& d) { d["positions"][1]["size"] = "2000"; }); },
     [] { return FullWith([](UserState& s) { s.positions.pop_back(); }); }},
    {"a position without a path", [] { return ParseEdited([](json& d) { d["positions"][1].erase("path"); }); },
     [] { return FullWith([](UserState& s) { s.positions.pop_back(); }); }},
    {"a path twice among the positions, the later kept", [] { return ParseEdited([](json& d) { d["positions"].push_back(d["positions"][0]); d["positions"][2]["seconds"] = 30; }); },
     [] { return FullWith([](UserState& s) { s.positions = {{kSecond, 61}, {kFirst, 30}}; }); }},
    {"a position's sound track kept", [] { return ParseUserState(SerializeUserState(FullWith([](UserState& s) { s.positions[1].audioTrack = 2; }))); },
     [] { return FullWith([](UserState& s) { s.positions[1].audioTrack = 2; }); }},
    {"a sound track out of range or as text: the place kept, the file's first track", [] {
         return ParseEdited([](json& d) { d["positions"][0]["audioTrack"] = 65; d["positions"][1]["audioTrack"] = "2"; }); }, Full},
    // What this player does not know survives its reading and writing.
    {"unknown fields kept through reading and writing", [] {
         return ParseUserState(SerializeUserState(ParseEdited([](json& d) { d["theme"] = "dark"; d["eq"] = {{"bands", {1, 2, 3}}}; })));
     }, [] { return FullWith([](UserState& s) { s.unknownFields = R"({"eq":{"bands":[1,2,3]},"theme":"dark"})"; }); }},
    // Which places are remembered.
    {"left 10 s after the start: forgotten", [] { return LeftAt(10); }, [] { return UserState{}; }},
    {"left just past 10 s: remembered", [] { return LeftAt(10.5); }, [] { return WithPositions({{kFirst, 10.5}}); }},
    {"left 10 s before the end: forgotten", [] { return LeftAt(90); }, [] { return UserState{}; }},
    {"left just before that: remembered", [] { return LeftAt(89.5); }, [] { return WithPositions({{kFirst, 89.5}}); }},
    {"the end reached: forgotten", [] { return LeftAt(100); }, [] { return UserState{}; }},
    {"no duration known: forgotten", [] { return LeftAt(30, 0); }, [] { return UserState{}; }},
    {"another file left: both kept, the latest last", [] {
         UserState s = WithPositions({{kFirst, 50}});
         RecordLeftAt(s.positions, kSecond, 20, 100);
         return s;
     }, [] { return WithPositions({{kFirst, 50}, {kSecond, 20}}); }},
    {"left with a sound track chosen: remembered with it", [] {
         UserState s = WithPositions({{kSecond, 20}});
         RecordLeftAt(s.positions, kFirst, 30, 100, 3);
         return s;
     }, [] { return WithPositions({{kSecond, 20}, {kFirst, 30, 3}}); }},
    // The key: path (any case), size and write time.
    {"the same file under another case resumes", [] {
         return WithPositions({{kFirst, ResumeAt({{kFirst, 50}}, FileKey{L"c:\\FILMS\\FIRST.MP4", 1000, 77}).value_or(-1)}});
     }, [] { return WithPositions({{kFirst, 50}}); }},
    {"a replaced file starts from the beginning", [] {
         const std::vector<RememberedPosition> remembered{{kFirst, 50}};
         FileKey rewritten = kFirst, resized = kFirst;
         rewritten.writeTime += 1;
         resized.size += 1;
         return WithPositions({{kFirst, ResumeAt(remembered, rewritten).value_or(-1)}, {kSecond, ResumeAt(remembered, resized).value_or(-1)}});
     }, [] { return WithPositions({{kFirst, -1}, {kSecond, -1}}); }},
    {"a replaced file left: its old entry goes", [] {
         UserState s = WithPositions({{kFirst, 50}});
         FileKey rewritten = kFirst;
         rewritten.writeTime = 99;
         RecordLeftAt(s.positions, rewritten, 40, 100);
         return s;
     }, [] { return WithPositions({{FileKey{kFirst.path, 1000, 99}, 40}}); }},
    // At most 500 files, the least recently played dropped first.
    {"the 501st file drops the least recently played", [] {
         UserState s;
         for (int i = 0; i < 501; ++i) {
             RecordLeftAt(s.positions, Numbered(i), 20, 100);
             if (i == 499)
                 RecordLeftAt(s.positions, Numbered(0), 30, 100);   // played again: now the latest
         }
         return s;
     }, [] {
         UserState s;
         for (int i = 2; i < 500; ++i)
             s.positions.push_back({Numbered(i), 20});
         s.positions.push_back({Numbered(0), 30});
         s.positions.push_back({Numbered(500), 20});
         return s;
     }},
    {"a file of 600 positions keeps the last 500", [] {
         json doc = {{"positions", json::array()}};
         for (int i = 0; i < 600; ++i)
             doc["positions"].push_back({{"path", "E:\\v\\" + std::to_string(i) + ".mp4"}, {"size", 1}, {"written", 1}, {"seconds", 20}});
         return ParseUserState(doc.dump());
     }, [] {
         UserState s;
         for (int i = 100; i < 600; ++i)
             s.positions.push_back({Numbered(i), 20});
         return s;
     }},
};

class StateFileTest : public ::testing::TestWithParam<Case> {};

TEST_P(StateFileTest, GivesTheExpectedState) {
    EXPECT_EQ(GetParam().actual(), GetParam().expected()) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Cases, StateFileTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.what; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

} // namespace
