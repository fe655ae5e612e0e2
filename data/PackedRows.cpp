#include "data/PackedRows.h"

#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace zorla {

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;

// Blocks are mapped and unmapped directly: the C library's allocator would keep large freed blocks for itself
// once it has seen some, and keeps the memory of one thread away from the others.
unsigned char* mapBlock(std::size_t bytes) {
#ifdef _WIN32
    void* p = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!p) throw std::bad_alloc();
#else
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
#endif
    return static_cast<unsigned char*>(p);
}

void unmapBlock(unsigned char* p, std::size_t bytes) {
#ifdef _WIN32
    (void)bytes;
    VirtualFree(p, 0, MEM_RELEASE);
#else
    munmap(p, bytes);
#endif
}

std::size_t putLength(unsigned char* out, std::size_t n) {
    std::size_t i = 0;
    for (; n >= 0x80; n >>= 7) out[i++] = static_cast<unsigned char>(n | 0x80);
    out[i++] = static_cast<unsigned char>(n);
    return i;
}

std::size_t getLength(const unsigned char* in, std::size_t& n) {
    n = 0;
    std::size_t i = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char b = in[i++];
        n |= static_cast<std::size_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) return i;
    }
}

std::size_t valueSize(FieldType type, const unsigned char* p) {
    switch (type) {
        case FieldType::Integer:
        case FieldType::Decimal:
            return 8;
        case FieldType::Date:
            return 4;
        default: {
            std::size_t n;
            const std::size_t head = getLength(p, n);
            return head + n;
        }
    }
}

bool isNull(const unsigned char* bitmap, std::size_t field) { return bitmap[field / 8] & (1u << (field % 8)); }

}  // namespace

PackedRows::PackedRows(std::vector<FieldType> types)
    : m_types(std::move(types)), m_bitmapBytes((m_types.size() + 7) / 8) {}

PackedRows::~PackedRows() {
    for (unsigned char* b : m_blocks) unmapBlock(b, kBlock);
}

unsigned char* PackedRows::room(std::size_t bytes) {
    if (bytes > kBlock) throw std::length_error("row larger than a block");
    if (m_blocks.empty() || m_used + bytes > kBlock) {
        m_blocks.push_back(mapBlock(kBlock));
        m_used = 0;
    }
    unsigned char* p = m_blocks.back() + m_used;
    m_rows.push_back((static_cast<std::uint64_t>(m_blocks.size() - 1) << 32) | m_used);
    m_used += bytes;
    return p;
}

void PackedRows::append(std::span<const Cell> cells) {
    m_scratch.assign(m_bitmapBytes, 0);
    for (std::size_t f = 0; f < cells.size(); ++f) {
        const Cell& c = cells[f];
        if (c.isNull()) {
            m_scratch[f / 8] |= static_cast<unsigned char>(1u << (f % 8));
            continue;
        }
        unsigned char buffer[16];
        std::size_t n = 0;
        if (m_types[f] == FieldType::Date) {
            const auto days = static_cast<std::int32_t>(c.number);
            std::memcpy(buffer, &days, n = 4);
        } else if (m_types[f] != FieldType::Text) {
            std::memcpy(buffer, &c.number, n = 8);
        } else {
            n = putLength(buffer, c.text.size());
        }
        m_scratch.insert(m_scratch.end(), buffer, buffer + n);
        if (m_types[f] == FieldType::Text) m_scratch.insert(m_scratch.end(), c.text.begin(), c.text.end());
    }
    std::memcpy(room(m_scratch.size()), m_scratch.data(), m_scratch.size());
}

const unsigned char* PackedRows::start(std::size_t row) const {
    const std::uint64_t at = m_rows[row];
    return m_blocks[static_cast<std::size_t>(at >> 32)] + (at & 0xFFFFFFFF);
}

void PackedRows::locate(std::size_t row, std::uint32_t* positions) const {
    const unsigned char* p = start(row);
    std::uint32_t at = static_cast<std::uint32_t>(m_bitmapBytes);
    for (std::size_t f = 0; f < m_types.size(); ++f) {
        if (isNull(p, f)) {
            positions[f] = kNull;
            continue;
        }
        positions[f] = at;
        at += static_cast<std::uint32_t>(valueSize(m_types[f], p + at));
    }
}

Cell PackedRows::cellAt(std::size_t row, const std::uint32_t* positions, std::size_t field) const {
    if (positions[field] == kNull) return Cell{};
    return decode(m_types[field], start(row) + positions[field]);
}

Cell PackedRows::decode(FieldType type, const unsigned char* p) {
    Cell c;
    c.type = type;
    if (c.type == FieldType::Date) {
        std::int32_t days;
        std::memcpy(&days, p, 4);
        c.number = days;
    } else if (c.type != FieldType::Text) {
        std::memcpy(&c.number, p, 8);
    } else {
        std::size_t n;
        const std::size_t head = getLength(p, n);
        c.text = std::string_view(reinterpret_cast<const char*>(p + head), n);
    }
    return c;
}

Cell PackedRows::cell(std::size_t row, std::size_t field) const {
    const unsigned char* p = start(row);
    if (isNull(p, field)) return Cell{};
    std::size_t at = m_bitmapBytes;
    for (std::size_t f = 0; f < field; ++f)
        if (!isNull(p, f)) at += valueSize(m_types[f], p + at);
    return decode(m_types[field], p + at);
}

std::size_t PackedRows::memory() const { return m_blocks.size() * kBlock + m_rows.capacity() * sizeof(std::uint64_t); }

}  // namespace zorla
