#include "id_tcp_connection.h"

#include "deadline.h"
#include "id_exceptions.h"
#include "id_stack.h"
#include "socket_errors.h"

#include "model/text_trim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace hoofer {

namespace {
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

Clock::time_point After(int ms)
{
    return ms > 0 ? Clock::now() + std::chrono::milliseconds(ms) : Clock::time_point::max();
}
} // namespace

std::string TIdTCPConnection::SecondsText(int ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", ms / 1000.0);
    return text;
}

void TIdTCPConnection::SetSharedDeadline(Clock::time_point deadline, std::string text)
{
    m_sharedDeadline = deadline;
    m_sharedDeadlineText = std::move(text);
}

int TIdTCPConnection::SharedDeadlineLeft() const { return MillisecondsLeft(m_sharedDeadline); }

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
        if (error == kSocketConnectionAborted || error == kSocketShutDown) {
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

bool TIdTCPConnection::ReadLineBefore(bool bounded, Clock::time_point deadline, std::string &line)
{
    std::size_t searchFrom = 0;
    std::size_t found;
    const auto tooLong = [this](std::size_t length) {
        return MaxLineLength > 0 && length > static_cast<std::size_t>(MaxLineLength);
    };
    while ((found = m_inputBuffer.find('\n', searchFrom)) == std::string::npos) {
        if (tooLong(m_inputBuffer.size()))
            throw EIdReplyTooLong("The line received is longer than " + std::to_string(MaxLineLength) + " bytes.");
        searchFrom = m_inputBuffer.size();
        if (m_closedGracefully)
            throw EIdConnClosedGracefully();
        if (ReadFromStack(bounded ? MillisecondsLeft(deadline) : -1) == ReadResult::TimedOut)
            return false;
    }
    if (tooLong(found))
        throw EIdReplyTooLong("The line received is longer than " + std::to_string(MaxLineLength) + " bytes.");
    line = m_inputBuffer.substr(0, found);
    m_inputBuffer.erase(0, found + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

int16_t TIdTCPConnection::ReadReply(const std::vector<int16_t> &expected)
{
    ReplyLines.clear();
    // All lines of one reply share one deadline: a server sending a line
    // now and then cannot keep the client waiting for ever.
    Clock::time_point deadline = After(ReadTimeout);
    std::string ranOut = "Read Timeout: no whole reply from " + PeerLabel + " within " + SecondsText(ReadTimeout) + ".";
    if (m_sharedDeadline < deadline) {
        deadline = m_sharedDeadline;
        ranOut = m_sharedDeadlineText;
    }
    int linesRead = 0;
    auto nextLine = [&] {
        std::string line;
        do {
            if (MaxReplyLines > 0 && linesRead++ >= MaxReplyLines)
                throw EIdReplyTooLong("The reply has more than " + std::to_string(MaxReplyLines) + " lines.");
            if (!ReadLineBefore(deadline != Clock::time_point::max(), deadline, line))
                throw EIdReadTimeout(ranOut);
            line = std::string(Trim(line));
        } while (line.empty());
        if (OnDialogue)
            OnDialogue(false, line);
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
        const Clock::time_point start = Clock::now();
        long sent = m_ioHandler->Send(bytes, length);
        // A send cut short by its time limit has waited that long for the
        // peer already: waiting once more would double the limit.
        if (sent > 0 && static_cast<std::size_t>(sent) < length && ReadTimeout > 0 &&
            Clock::now() - start >= std::chrono::milliseconds(ReadTimeout)) {
            throw EIdSocketError(kSocketTimedOut);
        }
        if (sent == 0) {
            m_closedGracefully = true;
            if (m_inputBuffer.empty())
                throw EIdConnClosedGracefully();
            return;
        }
        if (sent < 0) {
            int error = GStack().LastError();
            if (error == kSocketConnectionAborted || error == kSocketConnectionReset || error == kSocketShutDown)
                m_ioHandler->Close();
            throw EIdSocketError(error);
        }
        bytes += sent;
        length -= static_cast<std::size_t>(sent);
    }
}

void TIdTCPConnection::WriteLine(const std::string &text)
{
    if (OnDialogue)
        OnDialogue(true, ShownLine(text));
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
    const Clock::time_point deadline = After(TransferTimeLimit);
    source.SetPosition(0);
    const std::size_t chunk = static_cast<std::size_t>(std::max(SendBufferSize, 1));
    std::string buffer(chunk, '\0');
    std::size_t remaining = source.Size();
    while (remaining > 0) {
        if (MillisecondsLeft(deadline) == 0)
            throw EIdReadTimeout("Read Timeout: the transfer with " + PeerLabel + " ran past " +
                                 SecondsText(TransferTimeLimit) + ".");
        std::size_t got = source.Read(buffer.data(), std::min(chunk, remaining));
        if (got == 0)
            throw EIdNoDataToRead();
        try {
            WriteBuffer(buffer.data(), got);
        } catch (const EIdSocketError &e) {
            // A send waits at most ReadTimeout for the peer to take a byte.
            if (e.LastError() == kSocketTimedOut)
                throw EIdReadTimeout("Read Timeout: no data moved to " + PeerLabel + " for " +
                                     SecondsText(ReadTimeout) + ".");
            throw;
        }
        remaining -= got;
    }
}

void TIdTCPConnection::MoveBufferTo(TByteStream &destination)
{
    if (m_inputBuffer.empty())
        return;
    if (MaxStreamSize > 0 && destination.Position() + m_inputBuffer.size() > MaxStreamSize)
        throw EIdTransferTooLarge("Received more than " + std::to_string(MaxStreamSize) + " bytes from " + PeerLabel +
                                  ", more than any routine holds: refused, nothing kept.");
    destination.Write(m_inputBuffer.data(), m_inputBuffer.size());
    m_inputBuffer.clear();
}

void TIdTCPConnection::ReadStreamUntilClosed(TByteStream &destination)
{
    const Clock::time_point total = After(TransferTimeLimit);
    while (true) {
        MoveBufferTo(destination);
        if (m_closedGracefully || !SocketOpen())
            break;
        const Clock::time_point idle = After(ReadTimeout);
        if (ReadFromStack(MillisecondsLeft(std::min(idle, total))) != ReadResult::TimedOut)
            continue;
        if (total <= idle)
            throw EIdReadTimeout("Read Timeout: the transfer with " + PeerLabel + " ran past " +
                                 SecondsText(TransferTimeLimit) + ".");
        throw EIdReadTimeout("Read Timeout: no data moved from " + PeerLabel + " for " + SecondsText(ReadTimeout) +
                             ".");
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
