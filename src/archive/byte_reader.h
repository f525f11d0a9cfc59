// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A bounded reader over a byte buffer with explicit little-endian fields. A read past the
// end yields zero and sets a sticky failure flag, so a parser can read a whole record and
// test once at the end; it never touches memory outside the buffer.

#include <cstddef>
#include <cstdint>

namespace archive {

class ByteReader {
  public:
    ByteReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    uint8_t u8() { return has(1) ? bytes_[pos_++] : fail8(); }
    uint16_t u16le() {
        if (!has(2)) return fail8();
        const uint16_t v = uint16_t(bytes_[pos_] | bytes_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    uint32_t u32le() {
        if (!has(4)) return fail8();
        const uint32_t v = uint32_t(bytes_[pos_]) | uint32_t(bytes_[pos_ + 1]) << 8 |
                           uint32_t(bytes_[pos_ + 2]) << 16 | uint32_t(bytes_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    int32_t i32le() { return int32_t(u32le()); }
    // Points at the next n bytes and skips them; null (and failed) when fewer are left.
    const uint8_t* take(size_t n) {
        if (!has(n)) return fail8(), nullptr;
        const uint8_t* p = bytes_ + pos_;
        pos_ += n;
        return p;
    }
    void skip(size_t n) { take(n); }
    void seek(size_t pos) {
        if (pos > size_) failed_ = true;
        pos_ = pos > size_ ? size_ : pos;
    }

    size_t position() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }
    bool failed() const { return failed_; }

  private:
    bool has(size_t n) const { return n <= size_ - pos_; }
    uint8_t fail8() {
        failed_ = true;
        pos_ = size_;
        return 0;
    }

    const uint8_t* bytes_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace archive
