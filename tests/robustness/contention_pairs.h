// The comparisons the trace contention test runs in every process. Some
// lines are longer than the trace writer's 128-byte buffer, so that a line
// takes several writes and a foreign write could land inside it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace wordlap::test {

inline std::vector<std::pair<std::string, std::string>> ContentionPairs() {
  const std::string long_a = "/music/" + std::string(150, 'L') +
                             " Long_Song-Title " + std::string(90, 'x') +
                             ".mp3";
  const std::string long_b = "D:\\backup\\Title " + std::string(90, 'X') +
                             " Song " + std::string(150, 'l') + ".MP3";
  return {
      {"D:\\Music\\Artist - Song Title.mp3",
       "E:\\Backup\\Song_Title-Artist.mp3"},
      {"01_Artist-Song Title.mp3", "Song Title - Artist.mp3"},
      {long_a, long_b},
      {"", ".mp3"},
  };
}

}  // namespace wordlap::test
