#pragma once
// One TCP conversation: the input buffer, the line and reply readers, the
// writer, the stream transfers and the close.

#include "byte_stream.h"
#include "id_component.h"
#include "id_io_handler_socket.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hoofer {

class TIdTCPConnection : public TIdComponent {
public:
    TIdTCPConnection();
    ~TIdTCPConnection() override;

    /// Longest wait for a whole reply (all its lines), and longest a data
    /// transfer may go without a byte moving, in milliseconds; 0: no limit.
    int ReadTimeout = 30000;
    /// Longest a whole data transfer may take, in milliseconds; 0: no limit.
    int TransferTimeLimit = 120000;
    /// Most bytes ReadStreamUntilClosed takes; one more stops the transfer
    /// with EIdTransferTooLarge. 0 means no limit.
    std::size_t MaxStreamSize = 0;
    /// The peer as messages name it (the host text the user gave).
    std::string PeerLabel;
    /// Sees the conversation as it happens: each line sent (secrets masked)
    /// and each reply line read (trimmed). For a verbose log.
    std::function<void(bool sent, const std::string &line)> OnDialogue;
    /// Largest single receive, and largest chunk of a stream sent in one go.
    int RecvBufferSize = 32768;
    int SendBufferSize = 32768;
    /// Every received byte is masked to its low 7 bits.
    bool ASCIIFilter = false;
    /// Longest line read, in bytes before its CR LF, and most
    /// lines ReadReply reads for one reply, blank ones included; beyond
    /// either, EIdReplyTooLong. A peer that never ends its line or its reply
    /// would otherwise be read for ever. 0 means no limit.
    int MaxLineLength = 16384;
    int MaxReplyLines = 1000;

    /// The latest reply.
    std::vector<std::string> ReplyLines;
    int16_t ReplyCode = 0;

    bool ClosedGracefully() const { return m_closedGracefully; }
    /// Reads one reply, single- or multi-line; an empty list accepts every
    /// code, otherwise a code not in it raises EIdProtocolReplyError.
    int16_t ReadReply(const std::vector<int16_t> &expected);
    /// Sends text and CR LF.
    void WriteLine(const std::string &text);
    /// Sends every byte or raises.
    void WriteBuffer(const void *data, std::size_t length);
    /// Sends line (a lone NUL sends nothing) and reads the reply.
    int16_t SendCommand(const std::string &line, const std::vector<int16_t> &expected);
    /// The same with one expected code; -1 accepts every code.
    int16_t SendCommand(const std::string &line, int16_t expected);

    /// Sends the whole stream from its start, in chunks of SendBufferSize.
    void WriteStream(TByteStream &source);
    /// Appends everything until the peer closes, then cuts the stream at its position.
    void ReadStreamUntilClosed(TByteStream &destination);

    /// Closes the socket (sending side first); nothing is sent.
    virtual void Disconnect();
    /// Notices a close by the peer without raising, then says whether the socket is open.
    bool Connected();

    TIdIOHandlerSocket *IOHandler() const { return m_ioHandler.get(); }

protected:
    using Clock = std::chrono::steady_clock;
    /// A line as OnDialogue is shown it.
    virtual std::string ShownLine(const std::string &line) const { return line; }
    /// Every reply must also be whole by this moment, while it is set; text
    /// says which wait that is. Clock::time_point::max() clears it.
    void SetSharedDeadline(Clock::time_point deadline, std::string text);
    /// Milliseconds left of the shared deadline, -1 when none is set.
    int SharedDeadlineLeft() const;
    /// "30 s", "0.25 s".
    static std::string SecondsText(int ms);
    /// Starts a conversation on handler (owned from now on).
    void AttachIOHandler(std::unique_ptr<TIdIOHandlerSocket> handler);
    void ResetConversation();
    /// Frees the handler and its socket.
    void ReleaseIOHandler();
    /// Raises EIdConnClosedGracefully when the peer or we closed, EIdClosedSocket
    /// when there never was an open socket.
    void CheckForDisconnect() const;

private:
    enum class ReadResult { Data, TimedOut, Closed };
    /// One receive of at most RecvBufferSize bytes into the input buffer, waiting
    /// at most timeoutMs (negative: no limit).
    ReadResult ReadFromStack(int timeoutMs);
    /// A line (up to LF, a CR before it dropped) ending before deadline
    /// (bounded) into line; false on time-out.
    bool ReadLineBefore(bool bounded, Clock::time_point deadline, std::string &line);
    /// Whole buffer into destination, within MaxStreamSize.
    void MoveBufferTo(TByteStream &destination);
    bool SocketOpen() const { return m_ioHandler && m_ioHandler->Connected(); }

    std::unique_ptr<TIdIOHandlerSocket> m_ioHandler;
    std::string m_inputBuffer;
    bool m_closedGracefully = false;
    Clock::time_point m_sharedDeadline = Clock::time_point::max();
    std::string m_sharedDeadlineText;
};

} // namespace hoofer
