// Case tables shared by the Linux suite and the Windows test host. Plain
// data, no test framework, ASCII only: names whose verdict depends on the
// platform's word equality live in the platform suites.
//
// A trace block is written here with "\n" after each line; in the trace file
// every line ends with "\r\n" instead.
#pragma once

#include <string_view>
#include <vector>

namespace wordlap::cases {

struct NormaliseCase {
  std::string_view file_name;
  std::string_view without_extension;
  std::string_view cleaned;
};

inline const std::vector<NormaliseCase> kNormaliseCases = {
    {"Artist - Song Title.mp3", "Artist - Song Title", "Artist   Song Title"},
    {"01_Artist-Song Title.mp3", "01_Artist-Song Title",
     "01 Artist Song Title"},
    {"README", "README", "README"},
    {".mp3", "", ""},
    {"", "", ""},
    {"Vol.1 Part.1.txt", "Vol.1 Part.1", "Vol.1 Part.1"},
    // The extension ".1" is cut at its first occurrence, not at its end.
    {"Vol.1 Part.1", "Vol", "Vol"},
    {"a.mp3 b.mp3", "a", "a"},
    // Case is respected when looking for the extension.
    {"Mix.MP3.mp3", "Mix.MP3", "Mix.MP3"},
    {"archive.tar.gz", "archive.tar", "archive.tar"},
    {"name.", "name", "name"},
    {"a__b", "a__b", "a  b"},
    {"-a-", "-a-", " a "},
    {"x_-_y (1).MP3", "x_-_y (1)", "x   y (1)"},
};

struct SplitCase {
  std::string_view text;
  char delimiter;
  bool trim;
  std::vector<std::string_view> entries;
};

inline const std::vector<SplitCase> kSplitCases = {
    {"Artist   Song Title", ' ', true, {"Artist", "", "", "Song", "Title"}},
    {"01 Artist Song Title", ' ', true, {"01", "Artist", "Song", "Title"}},
    {"a  b", ' ', true, {"a", "", "b"}},
    {" a ", ' ', true, {"", "a"}},
    {"a b ", ' ', true, {"a", "b"}},
    {"", ' ', true, {}},
    {" ", ' ', true, {""}},
    {"  ", ' ', true, {"", ""}},
    {"README", ' ', true, {"README"}},
    {"a\tb c", ' ', true, {"a\tb", "c"}},
    {"\ta\x01 b", ' ', true, {"a", "b"}},
    // A last word that trims to nothing is still appended.
    {"x \t", ' ', true, {"x", ""}},
    {"\ta b", ' ', false, {"\ta", "b"}},
    {"a,b,,c", ',', true, {"a", "b", "", "c"}},
};

struct CommaCase {
  std::vector<std::string_view> entries;
  std::string_view text;
};

inline const std::vector<CommaCase> kCommaCases = {
    {{}, ""},
    {{""}, "\"\""},
    {{"", ""}, ","},
    {{"a", "", "b"}, "a,,b"},
    {{"", "a"}, ",a"},
    {{"Song", "Title"}, "Song,Title"},
    {{"a\"b"}, "\"a\"\"b\""},
    {{"a,b"}, "\"a,b\""},
    {{"a\tb", "c"}, "\"a\tb\",c"},
    {{"\x01"}, "\"\x01\""},
    {{"x y"}, "\"x y\""},
    {{"\"\""}, "\"\"\"\"\"\""},
    // Bytes of 128 and above never ask for quotes.
    {{"caf\xC3\xA9", "\xFF"}, "caf\xC3\xA9,\xFF"},
};

struct CompareCase {
  std::string_view path_a;
  std::string_view path_b;
  bool match;
};

inline const std::vector<CompareCase> kCompareCases = {
    {"D:\\Music\\Artist - Song Title.mp3", "E:\\Backup\\Song_Title-Artist.mp3",
     true},
    {"01_Artist-Song Title.mp3", "Song Title - Artist.mp3", false},
    {"Song Title.mp3", "song TITLE.MP3", true},
    {"C:\\a\\Song.mp3", "D:\\b\\c\\Song.mp3", true},
    // A slash ends the directory part too, so folders never count as words.
    {"/music/Artist/Song Title.mp3", "/backup/x/Title_Song.mp3", true},
    {"/music/The Band/Song.mp3", "/music/The Band/Other.mp3", false},
    {"C:/music/a b.mp3", "D:\\b a.flac", true},
    {"a:b.mp3", "b.mp3", true},
    // 8 of 9 is not enough; 10 of 11 is; exactly nine tenths is not.
    {"a b c d e f g h i.mp3", "a b c d e f g h x.mp3", false},
    {"a b c d e f g h i j k.mp3", "a b c d e f g h i j x y.mp3", true},
    {"a b c d e f g h i j.mp3", "a b c d e f g h i x.mp3", false},
    {"a b c d e f g h i j k l m n o p q r s t.mp3",
     "a b c d e f g h i j k l m n o p q r x y.mp3", false},
    {"a b c d e f g h i j k l m n o p q r s t.mp3",
     "a b c d e f g h i j k l m n o p q r s y.mp3", true},
    // Every entry of the iterated list counts, repeated ones too.
    {"la la la.mp3", "la x y z.mp3", true},
    // An empty list never matches, whatever the other name is.
    {".mp3", "Song.mp3", false},
    {"Song.mp3", ".mp3", false},
    {"", "", false},
    {".mp3", ".flac", false},
    // Runs of separators give empty entries, and those are found too.
    {"x--y.mp3", "y__x.mp3", true},
    {"a  b.mp3", "a  c.mp3", false},
    {"-.mp3", "_.mp3", true},
    // One word against any name holding it.
    {"Song.mp3", "Totally Different Song Name.mp3", true},
    {"Totally Different Song Name.mp3", "Song.mp3", true},
    // On a tie the second path's words are looked up in the first.
    {"x x.mp3", "x y.mp3", false},
    {"x y.mp3", "x x.mp3", true},
    {"Vol.1 Part.1", "Vol", true},
    {"Mix.MP3.mp3", "mix.mp3", false},
};

// Whole blocks of lines for some comparisons. Every percentage here is a
// whole number, so the blocks do not depend on the decimal separator.
struct TraceCase {
  std::string_view path_a;
  std::string_view path_b;
  bool match;
  std::string_view block;
};

inline const std::vector<TraceCase> kTraceCases = {
    {"D:\\Music\\Artist - Song Title.mp3", "E:\\Backup\\Song_Title-Artist.mp3",
     true,
     "Compare D:\\Music\\Artist - Song Title.mp3 to "
     "E:\\Backup\\Song_Title-Artist.mp3\n"
     "unprocessed: Artist - Song Title.mp3\n"
     "no extension: Artist - Song Title\n"
     "cleaned: Artist   Song Title\n"
     "splitting \"Artist   Song Title\"\n"
     "split to Artist,,,Song,Title\n"
     "unprocessed: Song_Title-Artist.mp3\n"
     "no extension: Song_Title-Artist\n"
     "cleaned: Song Title Artist\n"
     "splitting \"Song Title Artist\"\n"
     "split to Song,Title,Artist\n"
     "current word is Song\n"
     "found in other list!\n"
     "current word is Title\n"
     "found in other list!\n"
     "current word is Artist\n"
     "found in other list!\n"
     "found 3 of 3 words, 100% match\n"
     "result:-1\n"
     "\n"},
    {"01_Artist-Song Title.mp3", "Song Title - Artist.mp3", false,
     "Compare 01_Artist-Song Title.mp3 to Song Title - Artist.mp3\n"
     "unprocessed: 01_Artist-Song Title.mp3\n"
     "no extension: 01_Artist-Song Title\n"
     "cleaned: 01 Artist Song Title\n"
     "splitting \"01 Artist Song Title\"\n"
     "split to 01,Artist,Song,Title\n"
     "unprocessed: Song Title - Artist.mp3\n"
     "no extension: Song Title - Artist\n"
     "cleaned: Song Title   Artist\n"
     "splitting \"Song Title   Artist\"\n"
     "split to Song,Title,,,Artist\n"
     "current word is 01\n"
     "current word is Artist\n"
     "found in other list!\n"
     "current word is Song\n"
     "found in other list!\n"
     "current word is Title\n"
     "found in other list!\n"
     "found 3 of 4 words, 75% match\n"
     "result:0\n"
     "\n"},
    {"", "", false,
     "Compare  to \n"
     "unprocessed: \n"
     "no extension: \n"
     "cleaned: \n"
     "splitting \"\"\n"
     "split to \n"
     "unprocessed: \n"
     "no extension: \n"
     "cleaned: \n"
     "splitting \"\"\n"
     "split to \n"
     "result:0\n"
     "\n"},
    {".mp3", "Song.mp3", false,
     "Compare .mp3 to Song.mp3\n"
     "unprocessed: .mp3\n"
     "no extension: \n"
     "cleaned: \n"
     "splitting \"\"\n"
     "split to \n"
     "unprocessed: Song.mp3\n"
     "no extension: Song\n"
     "cleaned: Song\n"
     "splitting \"Song\"\n"
     "split to Song\n"
     "result:0\n"
     "\n"},
    {"-.mp3", "_.mp3", true,
     "Compare -.mp3 to _.mp3\n"
     "unprocessed: -.mp3\n"
     "no extension: -\n"
     "cleaned:  \n"
     "splitting \" \"\n"
     "split to \"\"\n"
     "unprocessed: _.mp3\n"
     "no extension: _\n"
     "cleaned:  \n"
     "splitting \" \"\n"
     "split to \"\"\n"
     "current word is \n"
     "found in other list!\n"
     "found 1 of 1 words, 100% match\n"
     "result:-1\n"
     "\n"},
    {"say \"hi\", ok.txt", "ok.txt", true,
     "Compare say \"hi\", ok.txt to ok.txt\n"
     "unprocessed: say \"hi\", ok.txt\n"
     "no extension: say \"hi\", ok\n"
     "cleaned: say \"hi\", ok\n"
     "splitting \"say \"hi\", ok\"\n"
     "split to say,\"\"\"hi\"\",\",ok\n"
     "unprocessed: ok.txt\n"
     "no extension: ok\n"
     "cleaned: ok\n"
     "splitting \"ok\"\n"
     "split to ok\n"
     "current word is ok\n"
     "found in other list!\n"
     "found 1 of 1 words, 100% match\n"
     "result:-1\n"
     "\n"},
    {"x x.mp3", "x y.mp3", false,
     "Compare x x.mp3 to x y.mp3\n"
     "unprocessed: x x.mp3\n"
     "no extension: x x\n"
     "cleaned: x x\n"
     "splitting \"x x\"\n"
     "split to x,x\n"
     "unprocessed: x y.mp3\n"
     "no extension: x y\n"
     "cleaned: x y\n"
     "splitting \"x y\"\n"
     "split to x,y\n"
     "current word is x\n"
     "found in other list!\n"
     "current word is y\n"
     "found 1 of 2 words, 50% match\n"
     "result:0\n"
     "\n"},
};

// Answers of the information query; any other key, the empty key and a
// null key answer the empty text.
struct InfoCase {
  const char* key;  // null stands for a null pointer
  std::string_view answer;
};

inline const std::vector<InfoCase> kInfoCases = {
    {"name", "Wordlap"},
    {"author", "Orvane"},
    {"version", "0.3"},
    {"comparer", "1"},
    {"viewer", "0"},
    {"tbc", "0"},
    {"description",
     "Compares filenames by exactly matching parts of it. This is especially "
     "useful for renamed mp3 files, where e.g. the title still is the same, "
     "but at another position in the filename."},
    // Keys are compared byte for byte over their whole length.
    {"NAME", ""},
    {"Name", ""},
    {"name ", ""},
    {" name", ""},
    {"nam", ""},
    {"names", ""},
    {"", ""},
    {nullptr, ""},
};

// Percentages of the "found " line, written with a full stop.
struct PercentageCase {
  unsigned long long found;
  unsigned long long words;
  std::string_view text;
};

inline const std::vector<PercentageCase> kPercentageCases = {
    {0, 1, "0"},
    {1, 1, "100"},
    {3, 4, "75"},
    {1, 2, "50"},
    {2, 3, "66.6666666666667"},
    {1, 3, "33.3333333333333"},
    {8, 9, "88.8888888888889"},
    {10, 11, "90.9090909090909"},
    {12, 17, "70.5882352941176"},
    {17, 21, "80.952380952381"},
    {1, 400, "0.25"},
    {1, 1000000, "0.0001"},
    {1, 2000000, "5E-5"},
    {1, 8000000, "1.25E-5"},
    {1, 3000000, "3.33333333333333E-5"},
    // Rounding carries into a new leading digit.
    {9999999999999999ULL, 10000000000000000ULL, "100"},
    {999999999999999ULL, 1000000000000000ULL, "99.9999999999999"},
};

}  // namespace wordlap::cases
