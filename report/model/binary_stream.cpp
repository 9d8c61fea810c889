#include "report/model/binary_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace pemvora::report {

void BinaryReader::need(std::size_t n) const
{
    if (n > data_.size() - pos_) throw StreamError("Unexpected end of stream");
}

void BinaryReader::seek(std::size_t pos)
{
    if (pos > data_.size()) throw StreamError("Position beyond the end of stream");
    pos_ = pos;
}

std::uint8_t BinaryReader::u8()
{
    need(1);
    return static_cast<std::uint8_t>(data_[pos_++]);
}

std::uint16_t BinaryReader::u16()
{
    need(2);
    const auto* p = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
    pos_ += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t BinaryReader::u32()
{
    need(4);
    const auto* p = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
    pos_ += 4;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
}

double BinaryReader::f64()
{
    need(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(data_[pos_ + std::size_t(i)]);
    pos_ += 8;
    return std::bit_cast<double>(bits);
}

std::string_view BinaryReader::bytes(std::size_t n)
{
    need(n);
    std::string_view b = data_.substr(pos_, n);
    pos_ += n;
    return b;
}

BinaryReader BinaryReader::endingAt(std::size_t end) const
{
    BinaryReader r(data_.substr(0, std::max(std::min(end, data_.size()), pos_)));
    r.pos_ = pos_;
    return r;
}

// Prepared pages are written field by field for every printed object: each
// field is appended in one step.
void BinaryWriter::u16(std::uint16_t v)
{
    const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    data_.append(b, 2);
}

void BinaryWriter::u32(std::uint32_t v)
{
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    data_.append(b, 4);
}

void BinaryWriter::f64(double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(bits >> (8 * i)));
}

std::size_t BinaryWriter::reserveU32()
{
    const std::size_t place = data_.size();
    u32(0);
    return place;
}

void BinaryWriter::patchHere(std::size_t place)
{
    const auto v = static_cast<std::uint32_t>(data_.size());
    for (int i = 0; i < 4; ++i) data_[place + std::size_t(i)] = static_cast<char>(v >> (8 * i));
}

} // namespace pemvora::report
