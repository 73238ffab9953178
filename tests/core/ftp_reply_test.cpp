#include "net/ftp_reply.h"

#include <gtest/gtest.h>

namespace {

net::FtpReplyState TakeAfter(net::FtpReplyBuffer& b, const std::string& bytes, std::string& reply) {
    b.Append(bytes.data(), bytes.size());
    return b.Take(reply);
}

}  // namespace

TEST(FtpReply, RepliesSplitAcrossSegmentsWaitForTheirLastLine) {
    net::FtpReplyBuffer b;
    std::string reply;
    EXPECT_EQ(TakeAfter(b, "22", reply), net::FtpReplyState::Incomplete);
    EXPECT_EQ(TakeAfter(b, "0 Wel", reply), net::FtpReplyState::Incomplete);
    // The next reply arriving with the end of this one stays for later.
    ASSERT_EQ(TakeAfter(b, "come\r\n331 Pass", reply), net::FtpReplyState::Complete);
    EXPECT_EQ(reply, "220 Welcome\r\n");
    EXPECT_EQ(b.Take(reply), net::FtpReplyState::Incomplete);
    ASSERT_EQ(TakeAfter(b, "word\r\n", reply), net::FtpReplyState::Complete);
    EXPECT_EQ(reply, "331 Password\r\n");
}

TEST(FtpReply, MultiLineEndsWithCodeAndBlank) {
    net::FtpReplyBuffer b;
    std::string reply;
    EXPECT_EQ(TakeAfter(b, "150-Opening\r\n150 is not at line start\r\n", reply), net::FtpReplyState::Complete);
    net::FtpReplyBuffer m;
    EXPECT_EQ(TakeAfter(m, "125-Data\r\n 125 inside\r\n125-still\r\n", reply), net::FtpReplyState::Incomplete);
    EXPECT_EQ(TakeAfter(m, "125 ", reply), net::FtpReplyState::Incomplete);
    ASSERT_EQ(TakeAfter(m, "go\r\n", reply), net::FtpReplyState::Complete);
    EXPECT_EQ(reply, "125-Data\r\n 125 inside\r\n125-still\r\n125 go\r\n");
    EXPECT_TRUE(net::FtpReplyHasCode(reply, "125"));
    EXPECT_FALSE(net::FtpReplyHasCode(reply, "150"));
    EXPECT_EQ(net::WithoutLineBreaks(reply), "125-Data 125 inside125-still125 go");
}

TEST(FtpReply, GarbageAndEndlessRepliesAreBad) {
    std::string reply;
    for (const char* bad : {"HTTP/1.0 200\r\n", "2x0 a\r\n", "220xhello\r\n"}) {
        net::FtpReplyBuffer b;
        EXPECT_EQ(TakeAfter(b, bad, reply), net::FtpReplyState::Bad) << bad;
    }
    net::FtpReplyBuffer b;
    EXPECT_EQ(TakeAfter(b, "220-" + std::string(net::kMaxFtpReply, 'x'), reply), net::FtpReplyState::Bad);
}

TEST(FtpReply, PasvAndSize) {
    std::uint32_t addr = 0;
    std::uint16_t port = 0;
    ASSERT_TRUE(net::ParsePasvReply("227 Entering Passive Mode (10,0,0,1,4,1).\r\n", addr, port));
    EXPECT_EQ(addr, 0x0A000001u);
    EXPECT_EQ(port, 1025);
    ASSERT_TRUE(net::ParsePasvReply("227 =(127, 0, 0, 1, 255, 255)", addr, port));
    EXPECT_EQ(port, 65535);
    for (const char* bad : {"227 no parens", "227 (10,0,0,1,4)", "227 (10,0,0,1,4,1", "227 (256,0,0,1,4,1)",
                            "227 (10,0,0,1,4,1000)", "227 (10,,0,1,4,1)", "227 (a,0,0,1,4,1)"}) {
        EXPECT_FALSE(net::ParsePasvReply(bad, addr, port)) << bad;
    }
    std::uint32_t size = 0;
    ASSERT_TRUE(net::ParseSizeReply("213 5000\r\n", size));
    EXPECT_EQ(size, 5000u);
    EXPECT_FALSE(net::ParseSizeReply("213 4294967296\r\n", size));
    EXPECT_FALSE(net::ParseSizeReply("213 \r\n", size));
}
