// Hostile server bytes through the FTP client's reply reader. The first three
// bytes set up the conversation (flags, the receive buffer size, the size of
// the pieces the network hands over); the rest is what the server sends. The
// client greets, logs in, changes directory and sends a SITE command, then
// reads replies until the bytes run out. Every reply it accepts must have the
// shape of an FTP reply and come from the bytes in order; every failure must
// be one of the client's own exceptions, and no socket may be left open.
#include "device/id_ftp.h"
#include "fuzz_check.h"
#include "memory_stack.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace hoofer;

bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

/// The number the first three characters (fewer on a shorter line) form, or
/// 0 when they are not all digits.
int16_t ExpectedCode(const std::string &line)
{
    int code = 0;
    for (size_t i = 0; i < 3 && i < line.size(); ++i) {
        if (line[i] < '0' || line[i] > '9')
            return 0;
        code = code * 10 + (line[i] - '0');
    }
    return static_cast<int16_t>(code);
}

bool EndsMultiLine(const std::string &line, const std::string &first)
{
    if (line.size() < 4)
        return true;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != std::toupper(static_cast<unsigned char>(first[i])))
            return false;
    return line[3] == ' ';
}

class ReplyChecker {
public:
    ReplyChecker(std::string once, bool ascii, const fuzz::ReceiveScript &script)
        : m_once(std::move(once)), m_stream(m_once), m_ascii(ascii), m_script(script)
    {
    }

    void Check(const TIdFTP &ftp)
    {
        // A flood repeats the script: the lines come from as many repeats as
        // the client has received.
        while (m_script.end == fuzz::ScriptEnd::Flood && !m_once.empty() && m_stream.size() < m_script.received)
            m_stream += m_once;
        const auto &lines = ftp.ReplyLines;
        FUZZ_CHECK(!lines.empty());
        for (const std::string &line : lines) {
            FUZZ_CHECK(!line.empty());
            FUZZ_CHECK(!Blank(line.front()) && !Blank(line.back()));
            FUZZ_CHECK(line.find('\n') == std::string::npos);
            if (m_ascii)
                for (char c : line)
                    FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
            // Each line is a piece of what the server sent, after the one before.
            const size_t at = m_stream.find(line, m_cursor);
            FUZZ_CHECK(at != std::string::npos);
            m_cursor = at + line.size();
        }
        const std::string &first = lines.front();
        if (first.size() >= 4 && first[3] == '-') {
            for (size_t i = 1; i + 1 < lines.size(); ++i)
                FUZZ_CHECK(!EndsMultiLine(lines[i], first));
            if (lines.size() > 1)
                FUZZ_CHECK(EndsMultiLine(lines.back(), first));
        } else {
            FUZZ_CHECK(lines.size() == 1);
        }
        FUZZ_CHECK(ftp.ReplyCode == ExpectedCode(lines.back()));
        FUZZ_CHECK(ftp.ReplyCode >= 0 && ftp.ReplyCode <= 999);
    }

private:
    std::string m_once;
    std::string m_stream;
    bool m_ascii;
    const fuzz::ReceiveScript &m_script;
    size_t m_cursor = 0;
};

} // namespace

void hoofer::fuzz::CheckInput(const uint8_t *bytes, size_t size)
{
    if (size < 3)
        return;
    const uint8_t flags = bytes[0];
    const bool ascii = flags & 1;
    const bool autoLogin = flags & 2;
    static constexpr fuzz::ScriptEnd kEnds[] = {fuzz::ScriptEnd::Close, fuzz::ScriptEnd::TimeOut,
                                                fuzz::ScriptEnd::Reset, fuzz::ScriptEnd::Flood};

    fuzz::ReceiveScript script;
    script.bytes = std::string_view(reinterpret_cast<const char *>(bytes) + 3, size - 3);
    script.piece = 1 + bytes[2];
    script.end = kEnds[(flags >> 2) & 3];
    fuzz::SetReceiveScript(&script);
    struct ScriptEnds {  // also when a check throws
        ~ScriptEnds() { fuzz::SetReceiveScript(nullptr); }
    } scriptEnds;

    std::string filtered(script.bytes);
    if (ascii)
        for (char &c : filtered)
            c = static_cast<char>(c & 0x7F);
    ReplyChecker checker(filtered, ascii, script);
    {
        TIdFTP ftp;
        ftp.Host = (flags & 16) ? "localhost:2121" : "127.0.0.1";
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = 1000;
        ftp.RecvBufferSize = 1 + bytes[1];
        ftp.ASCIIFilter = ascii;
        if (script.end == fuzz::ScriptEnd::Flood) {
            // A flood always runs into a limit; smaller ones reach it after
            // less work, which leaves time for more inputs.
            ftp.MaxLineLength = 1024;
            ftp.MaxReplyLines = 64;
        }
        try {
            ftp.Connect(autoLogin);
            FUZZ_CHECK(!ftp.Greeting.empty());
            checker.Check(ftp);
            ftp.ChangeDirectory("/empeg/lib/visuals/");
            checker.Check(ftp);
            ftp.SiteCommand("rw");
            checker.Check(ftp);
            for (int i = 0; i < 64; ++i) {
                ftp.ReadReply({});
                checker.Check(ftp);
            }
        } catch (const EIdProtocolReplyError &e) {
            checker.Check(ftp);
            FUZZ_CHECK(e.ReplyErrorCode() == ftp.ReplyCode);
            // The message is the reply's last line, up to a NUL byte if the
            // server sent one.
            const std::string &last = ftp.ReplyLines.back();
            FUZZ_CHECK(e.what() == last.substr(0, last.find('\0')));
        } catch (const EIdException &e) {
            FUZZ_CHECK(e.what()[0] != '\0');
        }
        if (script.end != fuzz::ScriptEnd::Flood)
            FUZZ_CHECK(script.received <= script.bytes.size());
        ftp.IsConnected();
    }
    FUZZ_CHECK(script.openSockets == 0);
}
