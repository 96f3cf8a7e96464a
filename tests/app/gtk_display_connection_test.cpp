#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "app/gtk/display_connection.h"
#include "tests/support/temp_dir.h"

namespace kz {
namespace {

TEST(DisplayConnection, OnlyLocalDisplayNamesHaveASocket) {
    EXPECT_EQ(localXSocketPath(":1", "/s"), "/s/X1");
    EXPECT_EQ(localXSocketPath(":12.3", "/s"), "/s/X12");
    EXPECT_EQ(localXSocketPath("unix:0", "/s"), "/s/X0");
    for (const char* other :
         {"", ":", "host:0", "localhost:10.0", ":x", ":1x", "1", ":.0", "[::1]:0", ":99999999"}) {
        EXPECT_EQ(localXSocketPath(other, "/s"), std::nullopt) << other;
    }
}

// A server listening on the socket file of display :<number> in a folder of the test's own.
class Listener {
  public:
    Listener(const std::string& dir, int number) {
        fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = dir + "/X" + std::to_string(number);
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        listening = fd >= 0 &&
                    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                    listen(fd, 4) == 0;
    }
    ~Listener() {
        if (fd >= 0) {
            close(fd);
        }
    }
    int fd = -1;
    bool listening = false;
};

TEST(DisplayConnection, AServerAnswersOnlyWhileItListens) {
    test::TempDir temp;
    ASSERT_FALSE(temp.path().empty());
    const std::string dir = temp.path().string();
    EXPECT_FALSE(localXServerAnswers(":5", dir)) << "no socket at all";
    {
        Listener server(dir, 5);
        ASSERT_TRUE(server.listening);
        EXPECT_TRUE(localXServerAnswers(":5", dir));
        EXPECT_TRUE(localXServerAnswers("unix:5.0", dir));
        EXPECT_FALSE(localXServerAnswers(":6", dir)) << "another display";
        EXPECT_FALSE(localXServerAnswers("otherhost:5", dir)) << "not a local display";
    }
    // The socket file a server that ended left behind refuses the connection.
    EXPECT_FALSE(localXServerAnswers(":5", dir));
    std::ofstream(dir + "/X7") << "not a socket";
    EXPECT_FALSE(localXServerAnswers(":7", dir));
}

}  // namespace
}  // namespace kz
