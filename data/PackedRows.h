#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "data/ResultTable.h"

namespace zorla {

// The rows of one opening of a dataset, close to their real bytes: back to back in large blocks, each row a null
// bitmap followed by its non-null values in binary (numbers 8 bytes, dates 4, texts their length and bytes). The
// blocks come straight from the system and go back to it when the rows go, whatever thread lets them go. Once
// filled, the rows never change, so any thread may read them.
class PackedRows {
public:
    static constexpr std::uint32_t kNull = 0xFFFFFFFF;

    explicit PackedRows(std::vector<FieldType> types);
    ~PackedRows();
    PackedRows(const PackedRows&) = delete;
    PackedRows& operator=(const PackedRows&) = delete;

    // A row of one cell per field, each null or of its field's type.
    void append(std::span<const Cell> cells);

    std::size_t size() const { return m_rows.size(); }
    std::size_t fieldCount() const { return m_types.size(); }
    // Where each field of a row lies within it, kNull for a null one: read once, then any field at no cost.
    void locate(std::size_t row, std::uint32_t* positions) const;
    Cell cellAt(std::size_t row, const std::uint32_t* positions, std::size_t field) const;
    // One field of a row, reading the row only up to it.
    Cell cell(std::size_t row, std::size_t field) const;
    // Bytes held, blocks and row index together.
    std::size_t memory() const;

private:
    const unsigned char* start(std::size_t row) const;
    static Cell decode(FieldType type, const unsigned char* value);
    unsigned char* room(std::size_t bytes);

    std::vector<FieldType> m_types;
    std::size_t m_bitmapBytes;
    std::vector<unsigned char*> m_blocks;
    std::size_t m_used = 0;                // in the last block
    std::vector<std::uint64_t> m_rows;     // block << 32 | offset
    std::vector<unsigned char> m_scratch;  // one row being packed
};

}  // namespace zorla
