#pragma once
// A little-endian byte stream of our own for the template and prepared-page
// formats. Reads are bounds-checked: reading or seeking past the end raises
// StreamError, which the readers turn into their failure path.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pemvora::report {

class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class BinaryReader {
public:
    explicit BinaryReader(std::string_view bytes) : data_(bytes) {}

    std::size_t size() const { return data_.size(); }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    // Positions anywhere from 0 to size() are allowed.
    void seek(std::size_t pos);

    std::uint8_t u8();
    std::uint16_t u16();
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64();
    // A 16-bit boolean: any non-zero value is true.
    bool bool16() { return u16() != 0; }
    std::string_view bytes(std::size_t n);
    // A reader of the same bytes, at the same position, that ends at `end`
    // (clamped to the size): positions stay those of the whole stream.
    BinaryReader endingAt(std::size_t end) const;

private:
    void need(std::size_t n) const;

    std::string_view data_;
    std::size_t pos_ = 0;
};

class BinaryWriter {
public:
    const std::string& data() const { return data_; }
    std::string take() { return std::move(data_); }
    std::size_t position() const { return data_.size(); }

    void u8(std::uint8_t v) { data_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v);
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v);
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double v);
    // 0xFFFF for true, 0 for false.
    void bool16(bool v) { u16(v ? 0xFFFF : 0); }
    void bytes(std::string_view b) { data_.append(b); }

    // An end-position field: reserve() writes a placeholder and returns its
    // place; patchHere() fills it with the current end of the stream.
    std::size_t reserveU32();
    void patchHere(std::size_t place);

private:
    std::string data_;
};

} // namespace pemvora::report
