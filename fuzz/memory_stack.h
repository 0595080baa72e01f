#pragma once
// A socket stack in memory for the FTP fuzz target: whatever the client
// receives comes from a script of bytes, in pieces of a chosen size, and
// whatever it sends is only counted. Linking memory_stack.cpp into a program
// replaces the platform's stack (it defines CreatePlatformStack), so the
// client above it runs unchanged: TIdFTP, TIdTCPConnection's line and reply
// readers, the IO handler and the socket handle.

#include <cstddef>
#include <string_view>

namespace hoofer::fuzz {

/// How the byte script ends once every byte has been received: the peer
/// closes, goes silent, resets the connection, or sends the script again and
/// again for ever.
enum class ScriptEnd { Close, TimeOut, Reset, Flood };

struct ReceiveScript {
    std::string_view bytes;
    /// Largest piece a single receive hands over (at least 1).
    std::size_t piece = 1;
    ScriptEnd end = ScriptEnd::Close;
    /// Filled in by the stack; received counts every byte handed over, the
    /// repeats of a flood included.
    std::size_t received = 0;
    std::size_t sent = 0;
    int openSockets = 0;
};

/// The script the next stack serves; the stack starts with the first network
/// object and ends with the last, so set this before creating one.
void SetReceiveScript(ReceiveScript *script);

} // namespace hoofer::fuzz
