#pragma once
// What the device tests share: a client with short time limits aimed at a
// scripted peer, and a clock for how long a failure takes.
#include "device/id_ftp.h"
#include "scripted_peer.h"

#include <gmock/gmock.h>

#include <chrono>

namespace hoofer::test {

/// Milliseconds since start.
inline long long MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

class FtpTest : public ::testing::Test {
protected:
    FtpTest()
    {
        ftp.Username = "Anonymous";
        ftp.Password = "hoofer@home";
        ftp.ReadTimeout = ftp.ConnectTimeout = ftp.DataChannelTimeout = 2000;
    }
    /// Aims the client at peer and, with login, connects and logs in.
    void Aim(ScriptedPeer &peer, bool login = false)
    {
        ftp.Host = peer.Address();
        if (login)
            ftp.Connect();
    }
    TIdFTP ftp;
};

} // namespace hoofer::test
