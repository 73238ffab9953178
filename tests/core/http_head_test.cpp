#include "net/http_head.h"

#include <gtest/gtest.h>

namespace {

// Feeds text to a reader; returns the last step.
net::HeadStep Feed(net::HttpHeadReader& r, const std::string& text) {
    net::HeadStep step = net::HeadStep::More;
    for (char c : text) {
        step = r.Add(c);
        if (step != net::HeadStep::More) break;
    }
    return step;
}

}  // namespace

TEST(HttpRequest, LinesInOrderWithRangeAlways) {
    EXPECT_EQ(net::BuildHttpRequest("/a/b?x=1", "example.org", "Archivon/1.10", 0),
              "GET /a/b?x=1 HTTP/1.0\r\nHost: example.org\r\nAccept: */*\r\nUser-Agent: Archivon/1.10\r\n"
              "Pragma: no-cache\r\nConnection: Close\r\nRange: bytes=0-\r\n\r\n");
    EXPECT_NE(net::BuildHttpRequest("/", "h", "u", 4294967295u).find("Range: bytes=4294967295-\r\n"),
              std::string::npos);
}

TEST(HttpHead, ReadsLinesStatusAndLength) {
    net::HttpHeadReader r;
    const std::string head = "HTTP/1.1 206 Partial Content\r\ncontent-LENGTH: 4000\r\nX: y\r\n\r\n";
    ASSERT_EQ(Feed(r, head + "body"), net::HeadStep::Done);
    ASSERT_TRUE(r.Finish());
    EXPECT_EQ(r.head().statusCode, 206);
    EXPECT_TRUE(r.head().hasContentLength);
    EXPECT_EQ(r.head().contentLength, 4000u);
    ASSERT_EQ(r.head().lines.size(), 4u);
    EXPECT_EQ(r.head().lines[3], "\r\n");
    EXPECT_EQ(r.head().rawHead, head);
}

TEST(HttpHead, RejectsMalformedHeads) {
    // Not HTTP: rejected at the first differing byte.
    net::HttpHeadReader notHttp;
    EXPECT_EQ(Feed(notHttp, "HTTX/1.0 200 OK\r\n\r\n"), net::HeadStep::Rejected);
    EXPECT_EQ(notHttp.head().rawHead, "HTTX");
    // A status line without a reason phrase has no second blank.
    for (const char* bad : {"HTTP/1.0 200\r\n\r\n", "HTTP/1.0 abc OK\r\n\r\n",
                            "HTTP/1.0 200 OK\r\nContent-Length: 4294967296\r\n\r\n",
                            "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n",
                            "HTTP/1.0 99999999999 OK\r\n\r\n"}) {
        net::HttpHeadReader r;
        ASSERT_EQ(Feed(r, bad), net::HeadStep::Done) << bad;
        EXPECT_FALSE(r.Finish()) << bad;
    }
    net::HttpHeadReader max;
    ASSERT_EQ(Feed(max, "HTTP/1.0 200 OK\r\nContent-Length: 4294967295\r\n\r\n"), net::HeadStep::Done);
    ASSERT_TRUE(max.Finish());
    EXPECT_EQ(max.head().contentLength, 4294967295u);
}

TEST(HttpHead, EndlessHeadIsCut) {
    net::HttpHeadReader r;
    std::string endless = "HTTP/1.0 200 OK\r\n" + std::string(net::kMaxReplyHead, 'a');
    EXPECT_EQ(Feed(r, endless), net::HeadStep::Rejected);
    EXPECT_EQ(r.head().rawHead.size(), net::kMaxReplyHead + 1);
}

TEST(HttpHead, HeaderSearchIsCaseBlindButLocationIsNot) {
    net::HttpHeadReader r;
    const std::string head =
        "HTTP/1.0 302 Found\r\ncontent-type: text/html\r\nX-location: nowhere\r\nLocation: http://b/c\r\n\r\n";
    ASSERT_EQ(Feed(r, head), net::HeadStep::Done);
    ASSERT_TRUE(r.Finish());
    const std::string* ct = net::FindHeaderLine(r.head(), "Content-Type: ");
    ASSERT_NE(ct, nullptr);
    EXPECT_EQ(*ct, "content-type: text/html\r\n");
    EXPECT_EQ(net::FindHeaderLine(r.head(), "HTTP/"), nullptr);  // the status line is not searched
    EXPECT_EQ(net::RedirectTarget(r.head().rawHead), std::optional<std::string>("http://b/c"));
    EXPECT_EQ(net::RedirectTarget("HTTP/1.0 302 x\r\nlocation: http://b/\r\n\r\n"), std::nullopt);
    // The first "Location" anywhere wins, even inside another header.
    EXPECT_EQ(net::RedirectTarget("HTTP/1.0 302 x\r\nContent-Location: /a\r\nLocation: http://b/\r\n\r\n"),
              std::optional<std::string>("/a"));
}

TEST(HttpHead, ContentRangeStart) {
    EXPECT_EQ(net::ContentRangeStart("Content-Range: bytes 1000-4999/5000\r\n"), 1000u);
    EXPECT_EQ(net::ContentRangeStart("content-range:BYTES  0-0/*\r\n"), 0u);
    for (const char* bad : {"Content-Range: bytes */5000\r\n", "Content-Range: bytes 12 34-40/50\r\n",
                            "Content-Range: bytes1000-1999/2000\r\n", "Content-Range: items 5-9/10\r\n",
                            "Content-Range: bytes 99999999999-1/2\r\n", "Content-Range: bytes 1000", "Content-Range"}) {
        EXPECT_EQ(net::ContentRangeStart(bad), std::nullopt) << bad;
    }
}

TEST(HttpHead, RedirectTargetLosesTheBlanksAroundIt) {
    EXPECT_EQ(net::RedirectTarget("HTTP/1.0 302 x\r\nLocation: \thttp://b/c \t\r\n\r\n"),
              std::optional<std::string>("http://b/c"));
}

TEST(HttpHead, ContentRangeTotal) {
    EXPECT_EQ(net::ContentRangeTotal("Content-Range: bytes 1000-4999/5000\r\n"), 5000u);
    EXPECT_EQ(net::ContentRangeTotal("Content-Range: bytes 0-0/*\r\n"), std::nullopt);
    EXPECT_EQ(net::ContentRangeTotal("Content-Range: bytes 0-0/99999999999\r\n"), std::nullopt);
    EXPECT_EQ(net::ContentRangeTotal("Content-Range: bytes"), std::nullopt);
}
