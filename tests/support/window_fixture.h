#pragma once

#include "app/hoofer_window.h"
#include "fake_platform.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace hoofer::test {

/// Reads a file of tests/data whole.
std::string TestData(const std::string &name);
/// Reads any file whole ("" when it cannot be read).
std::string FileBytes(const std::string &path);
void WriteBytes(const std::string &path, const std::string &bytes);

/// The real main window, shown offscreen, on virtual time, with scripted
/// dialogs and its settings in a temporary folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Loads a routine through File > Load, as a user would.
    void LoadData(const std::string &bytes);
    void LoadFile(const std::string &path);
    /// A path in the test's own temporary folder.
    std::string TempPath(const std::string &name) const;
    /// Clicks a menu item as the menu does: nothing happens while it is disabled.
    void Click(toolkit::TMenuItem *item);

    QTemporaryDir dir;
    FakePlatform platform;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmHoofer> window;
};

} // namespace hoofer::test

namespace hoofer::test {

/// A routine image of `moves` moves named "Move0", "Move1"…, each with
/// `frames` key frames whose points differ from frame to frame.
std::string RoutineBytes(int moves, int frames);

} // namespace hoofer::test
