// Byte reader and writer for the keyword and bracket records: little-endian integers, one-byte flags, z-strings.
#pragma once

#include "base/Stream.h"
#include "base/VornError.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vorn {

// A record ended before a fixed-width field was complete.
class ERecordReadError : public EVornError {
public:
  ERecordReadError() : EVornError("Stream read error") {}
};

class TRecordReader {
public:
  // The reader only views the bytes: they must outlive it, so a temporary string is refused.
  explicit TRecordReader(std::string_view data, std::size_t pos = 0) : data_(data), pos_(pos) {}
  explicit TRecordReader(std::string&& data, std::size_t pos = 0) = delete;

  std::size_t Position() const { return pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }

  std::uint8_t ReadByte() {
    if (pos_ >= data_.size()) throw ERecordReadError();
    return static_cast<std::uint8_t>(data_[pos_++]);
  }
  bool ReadBool() { return ReadByte() != 0; }
  std::int32_t ReadInt32() {
    if (pos_ > data_.size() || data_.size() - pos_ < 4) throw ERecordReadError();
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return static_cast<std::int32_t>(v);
  }
  // Up to the terminating 0 byte, or to the end of the data when the terminator is missing.
  std::string ReadZString() {
    const std::size_t end = data_.find('\0', pos_);
    const std::size_t stop = end == std::string_view::npos ? data_.size() : end;
    std::string s(data_.substr(pos_, stop - pos_));
    pos_ = end == std::string_view::npos ? data_.size() : end + 1;
    return s;
  }
  // Gives the last byte read back, for records whose first byte may be a version marker.
  void Unread() {
    if (pos_ > 0) --pos_;
  }

private:
  std::string_view data_;
  std::size_t pos_;
};

class TRecordWriter {
public:
  const std::string& Data() const { return data_; }
  std::string& Data() { return data_; }

  void WriteByte(std::uint8_t v) { data_.push_back(static_cast<char>(v)); }
  void WriteBool(bool v) { WriteByte(v ? 1 : 0); }
  void WriteInt32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) WriteByte(static_cast<std::uint8_t>(u >> (8 * i)));
  }
  // A string holding a 0 byte is cut there, since the reader stops at the first 0.
  void WriteZString(std::string_view s) {
    data_.append(s.substr(0, s.find('\0')));
    data_.push_back('\0');
  }

private:
  std::string data_;
};

// Reads one record (or list) at the stream's position and leaves the stream just after it.
template <class T>
void LoadRecordFrom(T& object, TStream& stream) {
  const std::int64_t start = stream.Position();
  const std::string rest = ReadToEnd(stream);
  TRecordReader reader(rest);
  try {
    object.LoadFromStream(reader);
  } catch (...) {
    stream.SetPosition(start + static_cast<std::int64_t>(reader.Position()));
    throw;
  }
  stream.SetPosition(start + static_cast<std::int64_t>(reader.Position()));
}

// Writes one record (or list) at the stream's position.
template <class T>
void SaveRecordTo(const T& object, TStream& stream) {
  TRecordWriter writer;
  object.SaveToStream(writer);
  stream.Write(writer.Data().data(), static_cast<std::int64_t>(writer.Data().size()));
}

}  // namespace vorn
