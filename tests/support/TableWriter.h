// SPDX-License-Identifier: MIT
#pragma once
// The tests' own writer of interface table buffers. It spells every offset out
// as a number, independently of the production layout and encoder, so a wrong
// offset there cannot hide itself here.
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace kuvell::testsupport {

// The 4-byte little-endian field at offset; reading past the table fails the
// test (std::out_of_range) instead of reading stray memory.
inline uint32_t read32(const std::vector<uint8_t>& table, std::size_t offset)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(table.at(offset + i)) << (8 * i);
    }
    return value;
}

class TestRow
{
  public:
    TestRow& put32(std::size_t offset, uint32_t value)
    {
        for (std::size_t i = 0; i < 4; ++i) {
            bytes_.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
        }
        return *this;
    }
    TestRow& index(uint32_t v) { return put32(512, v); }
    TestRow& physAddr(std::vector<uint8_t> address, std::optional<uint32_t> length = {})
    {
        for (std::size_t i = 0; i < address.size() && i < 8; ++i) {
            bytes_.at(532 + i) = address[i];
        }
        return put32(528, length.value_or(static_cast<uint32_t>(address.size())));
    }
    TestRow& inOctets(uint32_t v) { return put32(552, v); }
    TestRow& outOctets(uint32_t v) { return put32(576, v); }
    TestRow& descr(std::string_view bytes, uint32_t length)
    {
        std::memcpy(bytes_.data() + 604, bytes.data(), bytes.size());
        return put32(600, length);
    }
    // An ASCII name as the UTF-16LE the name field holds.
    TestRow& name(std::string_view ascii)
    {
        for (std::size_t i = 0; i < ascii.size(); ++i) {
            bytes_.at(2 * i) = static_cast<uint8_t>(ascii[i]);
        }
        return *this;
    }
    // Raw bytes of the 512-byte name field.
    TestRow& nameBytes(std::string_view bytes)
    {
        std::memcpy(bytes_.data(), bytes.data(), bytes.size());
        return *this;
    }
    const std::array<uint8_t, 860>& bytes() const { return bytes_; }

  private:
    std::array<uint8_t, 860> bytes_{};
};

class TestTable
{
  public:
    TestRow& addRow() { return rows_.emplace_back(); }

    // The count field states declaredCount (default: the rows added); extraBytes
    // are appended after the last row, as a buffer larger than its rows.
    std::vector<uint8_t> bytes(std::optional<uint32_t> declaredCount = {},
                               std::size_t extraBytes = 0) const
    {
        std::vector<uint8_t> out(4);
        const uint32_t count = declaredCount.value_or(static_cast<uint32_t>(rows_.size()));
        for (std::size_t i = 0; i < 4; ++i) {
            out[i] = static_cast<uint8_t>(count >> (8 * i));
        }
        for (const TestRow& row : rows_) {
            out.insert(out.end(), row.bytes().begin(), row.bytes().end());
        }
        out.resize(out.size() + extraBytes);
        return out;
    }

  private:
    std::vector<TestRow> rows_;
};

// One row with a physical address, index 3 and the given counters: the row
// whose counters the sampling tick takes.
inline std::vector<uint8_t> oneRowTable(uint32_t received, uint32_t sent)
{
    TestTable table;
    table.addRow().physAddr({0xAA}).index(3).inOctets(received).outOctets(sent);
    return table.bytes();
}

}  // namespace kuvell::testsupport
