#include "mailer/net/MlUUE.h"

#include <array>
#include <cstdint>

namespace mailnet {

namespace {

constexpr int kBlockSize = 45;  // input bytes per encoded line

// What differs between the two encodings: the alphabet of the 64 values, the UU length character at the
// start of each line and the UU end line, and the Base64 padding of a short last group.
struct Coding {
  std::array<char, 64> alphabet;
  bool lengthPrefix;
  bool padded;
};

constexpr Coding MakeCoding(UUMethods method) {
  Coding coding{};
  for (int v = 0; v < 64; ++v) {
    if (method == uuCode) {
      coding.alphabet[v] = v == 0 ? '`' : static_cast<char>(v + 32);
    } else {
      coding.alphabet[v] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"[v];
    }
  }
  coding.lengthPrefix = method == uuCode;
  coding.padded = method == uuMime;
  return coding;
}

constexpr Coding kMime = MakeCoding(uuMime);
constexpr Coding kUU = MakeCoding(uuCode);

const Coding& CodingOf(UUMethods method) { return method == uuCode ? kUU : kMime; }

// Appends the characters for count bytes: 4 per group of 3, then 2 for a remainder of 1 byte and 3 for a
// remainder of 2, padded with "=" to 4 where the coding pads.
void AppendGroups(const uint8_t* bytes, size_t count, const Coding& coding, std::string& out) {
  const auto& a = coding.alphabet;
  size_t i = 0;
  for (; i + 3 <= count; i += 3) {
    out += a[bytes[i] >> 2];
    out += a[((bytes[i] & 0x03) << 4) | (bytes[i + 1] >> 4)];
    out += a[((bytes[i + 1] & 0x0F) << 2) | (bytes[i + 2] >> 6)];
    out += a[bytes[i + 2] & 0x3F];
  }
  size_t rest = count - i;
  if (rest == 1) {
    out += a[bytes[i] >> 2];
    out += a[(bytes[i] & 0x03) << 4];
    if (coding.padded) out += "==";
  } else if (rest == 2) {
    out += a[bytes[i] >> 2];
    out += a[((bytes[i] & 0x03) << 4) | (bytes[i + 1] >> 4)];
    out += a[(bytes[i + 1] & 0x0F) << 2];
    if (coding.padded) out += '=';
  }
}

// Reads until count bytes came or the stream ended; returns how many came.
size_t ReadBlock(platform::TStream& stream, uint8_t* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    int64_t n = stream.Read(buffer + done, static_cast<int64_t>(count - done));
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

// Calls the event, if assigned, when the scope ends, also when it ends by an exception.
class EventOnExit {
public:
  EventOnExit(const platform::TNotifyEvent& event, platform::TObject* sender)
      : event_(event), sender_(sender) {}
  EventOnExit(const EventOnExit&) = delete;
  EventOnExit& operator=(const EventOnExit&) = delete;
  ~EventOnExit() {
    try {
      if (event_) event_(sender_);
    } catch (...) {
      // Never throw from a destructor; an exception already on its way matters more.
    }
  }

private:
  const platform::TNotifyEvent& event_;
  platform::TObject* sender_;
};

int DecodedValue(char c, UUMethods method) {
  if (method == uuCode) return (static_cast<uint8_t>(c) - 32) & 0x3F;
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Turns the characters into bytes, 6 bits each, most significant first; stops at "=" for Base64,
// skips characters outside the alphabet, and gives at most limit bytes.
std::string DecodeChars(std::string_view chars, UUMethods method, size_t limit) {
  std::string bytes;
  uint32_t bits = 0;
  int bitCount = 0;
  for (char c : chars) {
    if (method == uuMime && c == '=') break;
    int value = DecodedValue(c, method);
    if (value < 0) continue;
    bits = (bits << 6) | static_cast<uint32_t>(value);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      if (bytes.size() >= limit) break;
      bytes += static_cast<char>((bits >> bitCount) & 0xFF);
    }
  }
  return bytes;
}

std::string DecodeLine(std::string_view line, UUMethods method) {
  if (method == uuMime) return DecodeChars(line, method, std::string::npos);
  size_t count = static_cast<size_t>(DecodedValue(line[0], method));
  return DecodeChars(line.substr(1), method, count);
}

}  // namespace

void TMlUUProcessor::Encode() {
  platform::TStream& input = *InputStream;
  platform::TStream& output = *OutputStream;
  const Coding& coding = CodingOf(Method);
  input.SetPosition(0);
  if (OnBeginEncode) OnBeginEncode(this);
  {
    EventOnExit end(OnEndEncode, this);
    uint8_t block[kBlockSize];
    std::string line;
    for (;;) {
      size_t count = ReadBlock(input, block, kBlockSize);
      if (count == 0) break;
      line.clear();
      if (coding.lengthPrefix) line += coding.alphabet[count];
      AppendGroups(block, count, coding, line);
      line += "\r\n";
      output.WriteBuffer(line.data(), static_cast<int64_t>(line.size()));
      if (count < kBlockSize) break;
    }
    if (coding.lengthPrefix) {
      const char endLine[] = {coding.alphabet[0], '\r', '\n'};
      output.WriteBuffer(endLine, sizeof endLine);
    }
    output.SetPosition(0);
  }
}

void TMlUUProcessor::Decode() {
  platform::TStream& input = *InputStream;
  platform::TStream& output = *OutputStream;
  if (OnBeginDecode) OnBeginDecode(this);
  EventOnExit end(OnEndDecode, this);
  std::string pending;
  char chunk[4096];
  bool ended = false;
  while (!ended) {
    int64_t n = input.Read(chunk, sizeof chunk);
    if (n > 0) {
      pending.append(chunk, static_cast<size_t>(n));
    } else {
      ended = true;
      if (pending.empty()) break;
      pending += '\n';  // the last line may lack its line end
    }
    size_t start = 0;
    for (size_t lf; (lf = pending.find('\n', start)) != std::string::npos; start = lf + 1) {
      std::string_view line(pending.data() + start, lf - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.size() <= 2 || (Method == uuMime && line.starts_with("===="))) continue;
      std::string bytes = DecodeLine(line, Method);
      output.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    }
    pending.erase(0, start);
  }
}

std::string Base64Text(std::string_view bytes) {
  std::string text;
  AppendGroups(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), kMime, text);
  return text;
}

}  // namespace mailnet
