// The one way binary file data is read: a bounds-checked cursor over a byte span.
#pragma once

#include <cstddef>
#include <cstdint>
#include <bit>
#include <cstring>
#include <optional>
#include <span>

namespace base {

// Reads little-endian values; every read reports failure instead of leaving the span.
class ByteCursor {
  public:
    explicit ByteCursor(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }

    // Moves to an absolute position; false (and no move) past the end.
    bool Seek(std::size_t pos) {
        if (pos > data_.size()) return false;
        pos_ = pos;
        return true;
    }
    bool Skip(std::size_t n) {
        if (n > Remaining()) return false;
        pos_ += n;
        return true;
    }

    std::optional<std::uint8_t> U8() { return Read<std::uint8_t>(); }
    std::optional<std::uint16_t> U16() { return Read<std::uint16_t>(); }
    std::optional<std::uint32_t> U32() { return Read<std::uint32_t>(); }
    std::optional<std::int32_t> I32() { return Read<std::int32_t>(); }
    std::optional<float> F32() { return Read<float>(); }

    // The next n bytes, or nothing when fewer remain.
    std::optional<std::span<const std::uint8_t>> Bytes(std::size_t n) {
        if (n > Remaining()) return std::nullopt;
        auto out = data_.subspan(pos_, n);
        pos_ += n;
        return out;
    }

  private:
    template <typename T> std::optional<T> Read() {
        static_assert(std::endian::native == std::endian::little, "files are little-endian");
        if (sizeof(T) > Remaining()) return std::nullopt;
        T value;
        std::memcpy(&value, data_.data() + pos_, sizeof(T));
        pos_ += sizeof(T);
        return value;
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

} // namespace base
