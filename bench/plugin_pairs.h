// The pairs of paths whose PluginCompare cost is followed on both platforms:
// a typical pair of renamed music files, the short pair of the README, and
// a pair with accented words.
#pragma once

namespace wordlap::bench {

struct BenchPair {
  const char* name;
  const char* path_a;
  const char* path_b;
};

// The accented pair is UTF-8, as Linux file names are.
inline constexpr BenchPair kBenchPairs[] = {
    {"typical",
     "D:\\Music\\Juniper Vale\\Harbour Lights\\01 - Juniper Vale - Harbour "
     "Lights.mp3",
     "E:\\Backup\\2019\\juniper_vale-harbour_lights (1).mp3"},
    {"short", "D:\\Music\\Artist - Song Title.mp3",
     "E:\\Backup\\Song_Title-Artist.mp3"},
    {"accented",
     "/home/u/Musik/Mot\xC3\xB6rhead - Ace of Spades (Live \xC3\xA0 "
     "Paris).mp3",
     "/media/backup/ACE OF SPADES - MOT\xC3\x96RHEAD (live \xC3\x80 "
     "paris).flac"},
};

// The accented pair as a Windows host in a Western European code page
// (Windows-1252) hands it over: one byte per accented letter.
inline constexpr BenchPair kAnsiAccentedPair = {
    "accented",
    "/home/u/Musik/Mot\xF6rhead - Ace of Spades (Live \xE0 Paris).mp3",
    "/media/backup/ACE OF SPADES - MOT\xD6RHEAD (live \xC0 paris).flac"};

}  // namespace wordlap::bench
