// The "Player" command line comes from a value any per-user program can write. An unquoted
// path with spaces must start that file, not an earlier prefix of it that happens to exist.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "band/core/DeskBand.h"
#include "band/core/PlayerLink.h"
#include "band/settings/BandSettings.h"
#include "tests/reliability/BandOnScreen.h"
#include "tests/support/Process.h"
#include "tests/support/Registry.h"
#include "tests/support/Windows.h"

namespace {

using namespace reliability;

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string contents(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// <temp>\strappa-player-<pid>\Pro gram\x.exe, the player, beside a decoy <...>\Pro.exe, which
// an unquoted command line would reach first. Both leave "<their path>.ran" when started.
class PlayerFolder {
public:
    PlayerFolder() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        root_ = std::string(temp) + "strappa-player-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(root_.c_str(), nullptr);
        CreateDirectoryA(folder().c_str(), nullptr);
        const std::string program = testing_support::programPath("MarkBesideSelf.exe");
        EXPECT_TRUE(CopyFileA(program.c_str(), player().c_str(), FALSE));
        EXPECT_TRUE(CopyFileA(program.c_str(), decoy().c_str(), FALSE));
    }
    ~PlayerFolder() {
        for (const std::string& file : {player(), decoy(), player() + ".ran", decoy() + ".ran"}) {
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(folder().c_str());
        RemoveDirectoryA(root_.c_str());
    }
    std::string folder() const { return root_ + "\\Pro gram"; }
    std::string player() const { return folder() + "\\x.exe"; }
    std::string decoy() const { return root_ + "\\Pro.exe"; }
    void clearMarks() const {
        DeleteFileA((player() + ".ran").c_str());
        DeleteFileA((decoy() + ".ran").c_str());
    }

private:
    std::string root_;
};

TEST(PlayerCommand, StartsTheNamedFileWhateverPrefixesExist) {
    testing_support::VendorKeyScratch scratch;
    PlayerFolder folder;
    ASSERT_NE(std::string::npos, folder.player().find(' '));
    ASSERT_EQ(std::string::npos, folder.decoy().find(' ')) << "the prefix must be reachable";

    struct Case {
        std::string commandLine;
        bool playerRuns;
        std::string inCommandLine;  // what the started program must see of its command line
    };
    const std::vector<Case> cases = {
        {folder.player(), true, folder.player()},                      // the hijackable form
        {"\"" + folder.player() + "\"", true, folder.player()},          // already quoted
        {"\"" + folder.player() + "\" /minimised", true, "/minimised"},  // quoted, with arguments
        {folder.decoy() + " --from-the-band", false, "--from-the-band"},  // plain, with arguments
    };
    int32_t timeMode = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        folder.clearMarks();
        testing_support::setString(kPluginKey, "Player", c.commandLine);
        LoadSettings(bandSettings, timeMode);
        ASSERT_STREQ(c.commandLine.c_str(), playerCommand);
        RunPlayerCommand();
        const std::string expected = (c.playerRuns ? folder.player() : folder.decoy()) + ".ran";
        const std::string other = (c.playerRuns ? folder.decoy() : folder.player()) + ".ran";
        ASSERT_TRUE(testing_support::pumpUntil([&] { return exists(expected); }, 10000));
        testing_support::pumpMessages(300);  // time for a second, wrong start to show
        EXPECT_FALSE(exists(other));
        EXPECT_NE(std::string::npos, contents(expected).find(c.inCommandLine)) << contents(expected);
    }
}

TEST(PlayerCommand, APressOnPlayStartsTheNamedFileThroughTheBand) {
    testing_support::VendorKeyScratch scratch;
    PlayerFolder folder;
    testing_support::createKey(kPluginKey);
    testing_support::setString(kPluginKey, "Player", folder.player());
    resetPlayerStatus();
    ShownBand band(300, 23);
    band.paint();
    const int x = band->buttonsLeft + kButtonCell * 1 + 5;  // Play
    POINT screen{x, 11};
    ClientToScreen(band.window(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(band.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 11));
    SendMessageA(band.window(), WM_LBUTTONUP, 0, MAKELPARAM(x, 11));
    parkCursor();
    EXPECT_TRUE(testing_support::pumpUntil([&] { return exists(folder.player() + ".ran"); }, 10000));
    testing_support::pumpMessages(300);
    EXPECT_FALSE(exists(folder.decoy() + ".ran"));
}

}  // namespace
