#include "id_tcp_connection.h"

#include "id_exceptions.h"
#include "id_stack.h"

#include <algorithm>
#include <chrono>

namespace hoofer {

namespace {
constexpr int kConnectionAborted = 10053;
constexpr int kConnectionReset = 10054;
constexpr int kSocketShutDown = 10058;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string &line)
{
    std::size_t begin = 0, end = line.size();
    while (begin < end && IsBlank(line[begin]))
        ++begin;
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

bool SameIgnoringCase(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

/// The number formed by the first three characters, 0 when they are not one.
int16_t CodeOf(const std::string &line)
{
    std::string digits = line.substr(0, 3);
    if (digits.empty())
        return 0;
    int16_t code = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        code = static_cast<int16_t>(code * 10 + (c - '0'));
    }
    return code;
}

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}
} // namespace

TIdTCPConnection::TIdTCPConnection() = default;

TIdTCPConnection::~TIdTCPConnection() = default;

void TIdTCPConnection::AttachIOHandler(std::unique_ptr<TIdIOHandlerSocket> handler)
{
    m_ioHandler = std::move(handler);
}

void TIdTCPConnection::ResetConversation()
{
    m_inputBuffer.clear();
    m_closedGracefully = false;
    m_readLnTimedOut = false;
}

void TIdTCPConnection::ReleaseIOHandler() { m_ioHandler.reset(); }

void TIdTCPConnection::CheckForDisconnect() const
{
    if (SocketOpen() && !m_closedGracefully)
        return;
    if (m_closedGracefully || m_ioHandler)
        throw EIdConnClosedGracefully();
    throw EIdClosedSocket();
}

TIdTCPConnection::ReadResult TIdTCPConnection::ReadFromStack(int timeoutMs)
{
    CheckForDisconnect();
    if (!m_ioHandler->Readable(timeoutMs))
        return ReadResult::TimedOut;
    std::string block(static_cast<std::size_t>(std::max(RecvBufferSize, 1)), '\0');
    long received = m_ioHandler->Recv(block.data(), block.size());
    if (received == 0) {
        m_closedGracefully = true;
        m_ioHandler->Close();
        return ReadResult::Closed;
    }
    if (received < 0) {
        int error = GStack().LastError();
        if (error == kConnectionAborted || error == kSocketShutDown) {
            // The peer is gone; what it sent before still counts.
            m_closedGracefully = true;
            m_ioHandler->Close();
            if (m_inputBuffer.empty())
                throw EIdSocketError(error);
            return ReadResult::Closed;
        }
        throw EIdSocketError(error);
    }
    block.resize(static_cast<std::size_t>(received));
    if (ASCIIFilter)
        for (char &c : block)
            c = static_cast<char>(c & 0x7F);
    m_inputBuffer += block;
    return ReadResult::Data;
}

std::string TIdTCPConnection::ReadLine(const std::string &terminator, int timeoutMs)
{
    const std::string term = terminator.empty() ? std::string("\n") : terminator;
    const bool useDefault = timeoutMs == kIdTimeoutDefault;
    int limit = useDefault ? (ReadTimeout > 0 ? ReadTimeout : -1) : timeoutMs;
    if (limit == kIdTimeoutInfinite)
        limit = -1;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(limit, 0));
    m_readLnTimedOut = false;

    std::size_t searchFrom = 0;
    std::size_t found;
    const auto tooLong = [this](std::size_t length) {
        return MaxLineLength > 0 && length > static_cast<std::size_t>(MaxLineLength);
    };
    while ((found = m_inputBuffer.find(term, searchFrom)) == std::string::npos) {
        // Without a whole terminator in the buffer, all but its last
        // term.size() - 1 bytes belong to the line.
        if (m_inputBuffer.size() >= term.size() && tooLong(m_inputBuffer.size() + 1 - term.size()))
            throw EIdReplyTooLong("The line received is longer than " + std::to_string(MaxLineLength) + " bytes.");
        searchFrom = m_inputBuffer.size() >= term.size() ? m_inputBuffer.size() - term.size() + 1 : 0;
        if (m_closedGracefully)
            throw EIdConnClosedGracefully();
        ReadResult result = ReadFromStack(limit < 0 ? -1 : MillisecondsLeft(deadline));
        if (result == ReadResult::TimedOut) {
            if (useDefault)
                throw EIdReadTimeout();
            m_readLnTimedOut = true;
            return {};
        }
    }
    if (tooLong(found))
        throw EIdReplyTooLong("The line received is longer than " + std::to_string(MaxLineLength) + " bytes.");
    std::string line = m_inputBuffer.substr(0, found);
    m_inputBuffer.erase(0, found + term.size());
    if (term == "\n" && !line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

int16_t TIdTCPConnection::ReadReply(const std::vector<int16_t> &expected)
{
    ReplyLines.clear();
    int linesRead = 0;
    auto nextLine = [this, &linesRead] {
        std::string line;
        do {
            if (MaxReplyLines > 0 && linesRead++ >= MaxReplyLines)
                throw EIdReplyTooLong("The reply has more than " + std::to_string(MaxReplyLines) + " lines.");
            line = Trim(ReadLine());
        } while (line.empty());
        return line;
    };
    std::string line = nextLine();
    ReplyLines.push_back(line);
    if (line.size() >= 4 && line[3] == '-') {
        const std::string endMarker = line.substr(0, 3) + " ";
        while (true) {
            line = nextLine();
            ReplyLines.push_back(line);
            if (line.size() < 4 || SameIgnoringCase(line.substr(0, 4), endMarker))
                break;
        }
    }
    ReplyCode = CodeOf(ReplyLines.back());
    if (!expected.empty() && std::find(expected.begin(), expected.end(), ReplyCode) == expected.end())
        throw EIdProtocolReplyError(ReplyCode, ReplyLines.back());
    return ReplyCode;
}

void TIdTCPConnection::WriteBuffer(const void *data, std::size_t length)
{
    CheckForDisconnect();
    const char *bytes = static_cast<const char *>(data);
    while (length > 0) {
        long sent = m_ioHandler->Send(bytes, length);
        if (sent == 0) {
            m_closedGracefully = true;
            if (m_inputBuffer.empty())
                throw EIdConnClosedGracefully();
            return;
        }
        if (sent < 0) {
            int error = GStack().LastError();
            if (error == kConnectionAborted || error == kConnectionReset || error == kSocketShutDown)
                m_ioHandler->Close();
            throw EIdSocketError(error);
        }
        bytes += sent;
        length -= static_cast<std::size_t>(sent);
    }
}

void TIdTCPConnection::WriteLine(const std::string &text)
{
    std::string line = text + "\r\n";
    WriteBuffer(line.data(), line.size());
}

int16_t TIdTCPConnection::SendCommand(const std::string &line, const std::vector<int16_t> &expected)
{
    if (line != std::string(1, '\0'))
        WriteLine(line);
    return ReadReply(expected);
}

int16_t TIdTCPConnection::SendCommand(const std::string &line, int16_t expected)
{
    return SendCommand(line, expected == -1 ? std::vector<int16_t>{} : std::vector<int16_t>{expected});
}

void TIdTCPConnection::WriteStream(TByteStream &source)
{
    source.SetPosition(0);
    const std::size_t chunk = static_cast<std::size_t>(std::max(SendBufferSize, 1));
    std::string buffer(chunk, '\0');
    std::size_t remaining = source.Size();
    while (remaining > 0) {
        std::size_t got = source.Read(buffer.data(), std::min(chunk, remaining));
        if (got == 0)
            throw EIdNoDataToRead();
        WriteBuffer(buffer.data(), got);
        remaining -= got;
    }
}

void TIdTCPConnection::ReadStreamUntilClosed(TByteStream &destination)
{
    const int limit = ReadTimeout > 0 ? ReadTimeout : -1;
    while (true) {
        if (!m_inputBuffer.empty()) {
            destination.Write(m_inputBuffer.data(), m_inputBuffer.size());
            m_inputBuffer.clear();
        }
        if (m_closedGracefully || !SocketOpen())
            break;
        if (ReadFromStack(limit) == ReadResult::TimedOut)
            throw EIdReadTimeout();
    }
    if (destination.Size() > destination.Position())
        destination.SetSize(destination.Position());
}

void TIdTCPConnection::Disconnect()
{
    if (!SocketOpen())
        return;
    m_ioHandler->Close();
    m_closedGracefully = true;
}

bool TIdTCPConnection::Connected()
{
    if (SocketOpen() && !m_closedGracefully) {
        try {
            if (m_ioHandler->Readable(0))
                ReadFromStack(0);
        } catch (const EIdException &) {
            // A broken socket counts as closed here; the caller only asks.
            if (m_ioHandler)
                m_ioHandler->Close();
            m_closedGracefully = true;
        }
    }
    return SocketOpen();
}

} // namespace hoofer
