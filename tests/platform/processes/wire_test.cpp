#include "system/remote_wire.h"

#include <gtest/gtest.h>
#include <sys/un.h>

#include <set>
#include <string>

namespace platform::wire {
namespace {

TEST(WireNames, DifferentUsersClassesAndNamesNeverShareASocket) {
    const std::set<std::string> names{
        socket_name(1000, L"a/b", L"c"), socket_name(1000, L"a", L"b/c"), socket_name(1000, L"a%2f", L"c"),
        socket_name(1000, L"a", L"b"),   socket_name(1001, L"a", L"b"),   socket_name(1000, L"\u00e9", L""),
        socket_name(1000, L"\u00c3\u00a9", L""), socket_name(1000, L"", L"\u00e9"),
    };
    EXPECT_EQ(names.size(), 8u);
    EXPECT_EQ(socket_name(1000, L"a", L"b"), socket_name(1000, L"a", L"b"));
}

TEST(WireNames, LongNamesStillFitAnAddressAndStayApart) {
    const std::wstring long_name(300, L'x');
    std::wstring other = long_name;
    other.back() = L'y';
    const std::string a = socket_name(1000, L"Class", long_name.c_str());
    const std::string b = socket_name(1000, L"Class", other.c_str());
    EXPECT_LT(a.size(), sizeof(sockaddr_un::sun_path));
    EXPECT_NE(a, b);
    // Non-ASCII characters take the most room of all.
    const std::wstring wide(40, L'\u4e2d');
    EXPECT_LT(socket_name(4294967295u, wide.c_str(), wide.c_str()).size(), sizeof(sockaddr_un::sun_path));
}

TEST(WireRequests, RoundTripKeepsEveryBitOfTheParameters) {
    std::uint8_t bytes[kRequestSize];
    encode({Kind::Post, WM_APP, ~WPARAM{0}, INTPTR_MIN}, bytes);
    Request back;
    ASSERT_TRUE(decode(bytes, &back));
    EXPECT_EQ(back.kind, Kind::Post);
    EXPECT_EQ(back.message, WM_APP);
    EXPECT_EQ(back.wParam, ~WPARAM{0});
    EXPECT_EQ(back.lParam, INTPTR_MIN);
}

TEST(WireRequests, BytesThatAreNoRequestAreRefused) {
    std::uint8_t bytes[kRequestSize];
    Request back;
    encode({Kind::Raise, 0, 0, 0}, bytes);
    bytes[0] ^= 1;  // the wrong magic
    EXPECT_FALSE(decode(bytes, &back));
    encode({Kind::Raise, 0, 0, 0}, bytes);
    bytes[4] = 9;  // no such kind
    EXPECT_FALSE(decode(bytes, &back));
    encode({Kind::Raise, 0, 0, 0}, bytes);
    bytes[4] = 0;
    EXPECT_FALSE(decode(bytes, &back));
    encode({Kind::Raise, 0, 0, 0}, bytes);
    bytes[13] = 1;  // the reserved word
    EXPECT_FALSE(decode(bytes, &back));
}

}  // namespace
}  // namespace platform::wire
