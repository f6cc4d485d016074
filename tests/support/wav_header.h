// Reads the format block and data length of a RIFF WAVE file, byte by byte.
#ifndef QUILLORN_TESTS_SUPPORT_WAV_HEADER_H_
#define QUILLORN_TESTS_SUPPORT_WAV_HEADER_H_

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillorn::testing {

struct WavHeader {
  bool ok = false;
  int formatTag = 0, channels = 0, sampleRate = 0, bytesPerSecond = 0, blockAlign = 0,
      bitsPerSample = 0;
  std::int64_t dataBytes = 0;
  double Seconds() const { return bytesPerSecond ? double(dataBytes) / bytesPerSecond : 0; }
};

inline WavHeader ReadWavHeader(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
  const auto u16 = [&](std::size_t at) { return b[at] | (b[at + 1] << 8); };
  const auto u32 = [&](std::size_t at) {
    return static_cast<std::int64_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16)) |
           (static_cast<std::int64_t>(b[at + 3]) << 24);
  };
  WavHeader h;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    return h;
  }
  bool haveFormat = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string id(b.begin() + at, b.begin() + at + 4);
    const std::int64_t size = u32(at + 4);
    if (id == "fmt " && at + 24 <= b.size()) {
      h.formatTag = u16(at + 8);
      h.channels = u16(at + 10);
      h.sampleRate = static_cast<int>(u32(at + 12));
      h.bytesPerSecond = static_cast<int>(u32(at + 16));
      h.blockAlign = u16(at + 20);
      h.bitsPerSample = u16(at + 22);
      haveFormat = true;
    } else if (id == "data") {
      h.dataBytes = size;
      h.ok = haveFormat &&
             static_cast<std::int64_t>(at + 8) + size <= static_cast<std::int64_t>(b.size());
      return h;
    }
    at += 8 + static_cast<std::size_t>(size + (size & 1));
  }
  return h;
}

}  // namespace quillorn::testing

#endif  // QUILLORN_TESTS_SUPPORT_WAV_HEADER_H_
