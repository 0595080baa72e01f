#pragma once
// The byte streams that carry a payload to and from the FTP client. A stream
// has a size and a position; reads and writes move the position.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace hoofer {

class TByteStream {
public:
    virtual ~TByteStream() = default;
    /// Copies at most count bytes from the position on; returns how many.
    virtual std::size_t Read(void *buffer, std::size_t count) = 0;
    /// Writes count bytes at the position, growing the stream as needed.
    virtual void Write(const void *buffer, std::size_t count) = 0;
    virtual std::size_t Size() const = 0;
    /// Cuts or extends the stream; the position stays within it.
    virtual void SetSize(std::size_t size) = 0;
    virtual std::size_t Position() const = 0;
    virtual void SetPosition(std::size_t position) = 0;
};

/// A stream held in memory, any byte value included.
class TMemoryStream final : public TByteStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::size_t Read(void *buffer, std::size_t count) override
    {
        std::size_t n = m_position < m_bytes.size() ? std::min(count, m_bytes.size() - m_position) : 0;
        if (n)
            std::memcpy(buffer, m_bytes.data() + m_position, n);
        m_position += n;
        return n;
    }

    void Write(const void *buffer, std::size_t count) override
    {
        if (m_position + count > m_bytes.size())
            m_bytes.resize(m_position + count);
        if (count)
            std::memcpy(m_bytes.data() + m_position, buffer, count);
        m_position += count;
    }

    std::size_t Size() const override { return m_bytes.size(); }
    void SetSize(std::size_t size) override
    {
        m_bytes.resize(size);
        m_position = std::min(m_position, size);
    }
    std::size_t Position() const override { return m_position; }
    void SetPosition(std::size_t position) override { m_position = std::min(position, m_bytes.size()); }

    const std::string &Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    std::size_t m_position = 0;
};

} // namespace hoofer
